#pragma once

#include <cstdint>

// Little-endian fields of the file format, read from raw bytes the caller has bounds-checked.
namespace xls {

inline std::uint16_t le16(const std::uint8_t *p)
{
    return static_cast<std::uint16_t>(p[0] | p[1] << 8);
}

inline std::uint32_t le32(const std::uint8_t *p)
{
    return static_cast<std::uint32_t>(le16(p)) | static_cast<std::uint32_t>(le16(p + 2)) << 16;
}

} // namespace xls
