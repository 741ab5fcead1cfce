#pragma once

#include "Bytes.h"
#include "ContainerTempFile.h"

#include <array>
#include <span>
#include <string>
#include <string_view>
#include <vector>

// OLE2 compound files through libgsf: every stream and storage is read into memory so the
// ones the engine does not touch (SummaryInformation, CompObj, VBA...) are written back as read.
namespace xls {

using Clsid = std::array<std::uint8_t, 16>;

struct StorageEntry {
    std::string name;            // UTF-8, e.g. "Workbook", "\005SummaryInformation"
    bool isStorage = false;
    Bytes data;                  // streams only
    std::vector<StorageEntry> children; // storages only
    Clsid clsid{};               // storages only
};

struct Container {
    Clsid clsid{};
    std::vector<StorageEntry> entries;   // the root's children, in directory order

    StorageEntry *find(std::string_view name);             // top level, case-insensitive
    const StorageEntry *find(std::string_view name) const;
};

// Excel's root CLSID (LibreOffice writes 00020810-..., which is kept when read).
inline constexpr Clsid excelClsid{0x20, 0x08, 0x02, 0x00, 0x00, 0x00, 0x00, 0x00,
                                  0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46};

// Throws Error(NotAWorkbook) when the bytes are not an OLE2 file, Error(Damaged) for a
// broken sector chain or directory.
Container readContainer(std::span<const std::uint8_t> bytes);
// Atomically replaces `path` with the container (temporary file in the same folder, flushed,
// renamed; the mode of an existing file is kept), or with CreateOnly writes it only where no
// file is. The top-level stream named `replaceName`, if given, is written with `replaceData`
// instead of its own data. Throws Error(Io) and leaves `path` untouched on failure.
void writeContainer(const Container &container, const std::string &path, std::string_view replaceName = {},
                    std::span<const std::uint8_t> replaceData = {}, SaveMode mode = SaveMode::Replace);

} // namespace xls
