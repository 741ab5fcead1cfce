#pragma once

#include "Bytes.h"

#include <string>

// Raw access to an OLE2 file image (512-byte sectors) for crafting broken containers.
namespace xls::test {

class OleImage {
public:
    explicit OleImage(Bytes bytes) : bytes_(std::move(bytes)) {}

    Bytes &bytes() { return bytes_; }
    std::uint32_t u32(std::size_t at) const;
    void setU32(std::size_t at, std::uint32_t value);

    std::size_t sectorOffset(std::uint32_t sector) const { return (std::size_t(sector) + 1) * 512; }
    std::uint32_t fat(std::uint32_t sector) const;            // next sector in the chain
    void setFat(std::uint32_t sector, std::uint32_t next);
    std::uint32_t firstDirectorySector() const { return u32(0x30); }
    std::uint32_t firstMiniFatSector() const { return u32(0x3C); }
    // File offset of the directory entry with this name (the root is "Root Entry").
    std::size_t directoryEntry(const std::string &name) const;
    std::uint32_t startSector(const std::string &name) const { return u32(directoryEntry(name) + 0x74); }

private:
    Bytes bytes_;
};

} // namespace xls::test
