#pragma once

#include "spreadsheet/xls/container/Bytes.h"

#include <string>

// Raw access to an OLE2 file image (512-byte sectors) for crafting broken containers.
namespace xls::test {

class OleImage {
public:
    explicit OleImage(Bytes bytes) : bytes_(std::move(bytes)) {}

    Bytes &bytes() { return bytes_; }
    std::uint32_t u32(std::size_t at) const;
    void setU32(std::size_t at, std::uint32_t value);

    std::uint32_t fat(std::uint32_t sector) const { return u32(fatEntry(sector)); } // next sector in the chain
    void setFat(std::uint32_t sector, std::uint32_t next) { setU32(fatEntry(sector), next); }
    std::uint32_t firstDirectorySector() const { return u32(0x30); }
    // File offset of the directory entry with this name (the root is "Root Entry").
    std::size_t directoryEntry(const std::string &name) const;
    std::uint32_t startSector(const std::string &name) const { return u32(directoryEntry(name) + 0x74); }

private:
    static std::size_t sectorOffset(std::uint32_t sector) { return (std::size_t(sector) + 1) * 512; }
    std::size_t fatEntry(std::uint32_t sector) const { return sectorOffset(u32(0x4C + 4 * (sector / 128))) + 4 * (sector % 128); }
    Bytes bytes_;
};

} // namespace xls::test
