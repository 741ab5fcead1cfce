#pragma once

#include "Book.h"

#include <vector>

namespace xls {

// Builds the shared string table from the strings cells still reference: equal plain strings
// share one entry, rich strings keep their own with runs and phonetic data. Entries are
// numbered in order of first reference.
class SstWriter {
public:
    explicit SstWriter(const StringPool &pool);

    // First pass, in cell order: a cell refers to this pool string.
    void reference(std::uint32_t poolIndex);
    // Merges equal strings and numbers the entries; call once after every reference.
    void finish();
    std::uint32_t indexOf(std::uint32_t poolIndex) const { return remap_[poolIndex]; }
    std::size_t uniqueCount() const { return entries_.size(); }

    // SST (+CONTINUE) and EXTSST appended to `out`; offsets in EXTSST are absolute in `out`.
    void write(Bytes &out) const;

private:
    const StringPool &pool_;
    std::vector<std::uint32_t> remap_;   // pool index -> SST index; UINT32_MAX = not referenced
    std::vector<std::uint32_t> order_;   // referenced pool indices, first reference first
    std::vector<std::uint32_t> entries_; // SST index -> pool index
    std::vector<std::uint8_t> wide_;     // SST index -> 1 when its characters need 16 bits
    std::uint32_t total_ = 0;            // references, for cstTotal
};

} // namespace xls
