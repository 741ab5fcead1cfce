#include "HugePages.h"

#include <cstdint>
#include <sys/mman.h>

namespace xls {

void preferHugePages(const void *data, std::size_t bytes)
{
    constexpr std::uintptr_t hugePage = std::uintptr_t(2) << 20;
    const auto start = reinterpret_cast<std::uintptr_t>(data);
    const std::uintptr_t begin = (start + hugePage - 1) & ~(hugePage - 1), end = (start + bytes) & ~(hugePage - 1);
    if (end > begin)
        ::madvise(reinterpret_cast<void *>(begin), end - begin, MADV_HUGEPAGE);
}

} // namespace xls
