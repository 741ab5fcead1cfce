#include "OleImage.h"

#include <stdexcept>

namespace xls::test {

std::uint32_t OleImage::u32(std::size_t at) const
{
    return std::uint32_t(bytes_.at(at) | bytes_.at(at + 1) << 8 | bytes_.at(at + 2) << 16) | std::uint32_t(bytes_.at(at + 3)) << 24;
}

void OleImage::setU32(std::size_t at, std::uint32_t value)
{
    for (int i = 0; i < 4; ++i)
        bytes_.at(at + i) = std::uint8_t(value >> (8 * i));
}

std::size_t OleImage::directoryEntry(const std::string &name) const
{
    for (std::uint32_t sector = firstDirectorySector(), guard = 0; sector < 0xFFFFFFFA && guard < 1000; sector = fat(sector), ++guard)
        for (std::size_t at = sectorOffset(sector); at < sectorOffset(sector + 1); at += 128) {
            std::string entryName;
            for (std::size_t i = 0; i + 2 < std::size_t(bytes_.at(at + 0x40) | bytes_.at(at + 0x41) << 8); i += 2)
                entryName += char(bytes_.at(at + i));
            if (entryName == name)
                return at;
        }
    throw std::runtime_error("no directory entry " + name);
}

} // namespace xls::test
