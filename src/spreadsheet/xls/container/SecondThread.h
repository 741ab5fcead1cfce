#pragma once

#include <system_error>
#include <thread>
#include <utility>

namespace xls {

// A second thread for work worth one, where the machine has a second core. When the work is
// too small, the machine has one core or the system gives no thread, the result is not
// joinable and the caller does the work itself.
template <typename Work> std::jthread secondThread(bool worthIt, Work &&work)
{
    if (!worthIt || std::thread::hardware_concurrency() < 2)
        return {};
    try {
        return std::jthread(std::forward<Work>(work));
    } catch (const std::system_error &) {
        return {};
    }
}

} // namespace xls
