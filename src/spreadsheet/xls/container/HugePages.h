#pragma once

#include <cstddef>

namespace xls {

// Asks the system to back a large buffer that is about to be filled with transparent huge
// pages: a 17 MB Workbook stream then costs about ten page faults instead of four thousand,
// and on some machines those faults took most of an open. Only advice: where the system
// does not take it, nothing changes. Small buffers are left alone.
void preferHugePages(const void *data, std::size_t bytes);

} // namespace xls
