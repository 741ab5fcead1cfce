#pragma once

#include "Book.h"

#include <array>
#include <span>
#include <string>
#include <vector>

// OLE2 compound files through libgsf: every stream and storage is read into memory so the
// ones the engine does not touch (SummaryInformation, CompObj, VBA...) are written back as read.
namespace xls {

struct StorageEntry {
    std::string name;            // UTF-8, e.g. "Workbook", "\005SummaryInformation"
    bool isStorage = false;
    Bytes data;                  // streams only
    std::vector<StorageEntry> children; // storages only
};

struct Container {
    std::array<std::uint8_t, 16> clsid{};
    std::vector<StorageEntry> entries;   // the root's children, in directory order

    StorageEntry *find(const std::string &name);             // top level, case-insensitive
    const StorageEntry *find(const std::string &name) const;
};

// Throws Error(NotAWorkbook) when the bytes are not an OLE2 file, Error(Damaged) for a
// broken sector chain or directory.
Container readContainer(std::span<const std::uint8_t> bytes);
// Writes the container to `path` (created or truncated); throws Error(Io) on failure.
void writeContainer(const Container &container, const std::string &path);

} // namespace xls
