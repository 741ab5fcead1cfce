#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

namespace xls {

// Checks an OLE2 file's allocation tables, sector chains and directory tree before libgsf
// reads it: libgsf stops quietly at a looping or truncated chain and drops directory entries
// it cannot read, which would lose streams without a word. Throws Error(Damaged) with what
// and where; returns how many streams and storages the directory tree holds.
std::size_t checkContainer(std::span<const std::uint8_t> bytes);

} // namespace xls
