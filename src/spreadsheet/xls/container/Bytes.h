#pragma once

#include <cstdint>
#include <vector>

namespace xls {

using Bytes = std::vector<std::uint8_t>;

} // namespace xls
