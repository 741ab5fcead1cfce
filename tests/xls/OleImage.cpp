#include "OleImage.h"

#include <stdexcept>

namespace xls::test {

std::uint32_t OleImage::u32(std::size_t at) const
{
    return std::uint32_t(bytes_.at(at) | bytes_.at(at + 1) << 8 | bytes_.at(at + 2) << 16) |
           std::uint32_t(bytes_.at(at + 3)) << 24;
}

void OleImage::setU32(std::size_t at, std::uint32_t value)
{
    for (int i = 0; i < 4; ++i)
        bytes_.at(at + i) = std::uint8_t(value >> (8 * i));
}

std::uint32_t OleImage::fat(std::uint32_t sector) const
{
    const std::uint32_t fatSector = u32(0x4C + 4 * (sector / 128));
    return u32(sectorOffset(fatSector) + 4 * (sector % 128));
}

void OleImage::setFat(std::uint32_t sector, std::uint32_t next)
{
    const std::uint32_t fatSector = u32(0x4C + 4 * (sector / 128));
    setU32(sectorOffset(fatSector) + 4 * (sector % 128), next);
}

std::size_t OleImage::directoryEntry(const std::string &name) const
{
    int guard = 0;
    for (std::uint32_t sector = firstDirectorySector(); sector < 0xFFFFFFFA && guard < 1000; sector = fat(sector), ++guard) {
        for (std::size_t entry = 0; entry < 4; ++entry) {
            const std::size_t at = sectorOffset(sector) + entry * 128;
            const std::size_t length = bytes_.at(at + 0x40) | bytes_.at(at + 0x41) << 8;
            std::string entryName;
            for (std::size_t i = 0; i + 2 < length; i += 2)
                entryName += char(bytes_.at(at + i));
            if (entryName == name)
                return at;
        }
    }
    throw std::runtime_error("no directory entry " + name);
}

} // namespace xls::test
