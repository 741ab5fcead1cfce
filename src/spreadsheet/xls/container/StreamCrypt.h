#pragma once

#include "Rc4Cipher.h"

#include <atomic>
#include <memory>
#include <span>
#include <thread>
#include <vector>

namespace xls {

// One Workbook stream en- or decrypted in place in chunks of about 64 KB cut at record
// boundaries. A large stream gets a worker thread that takes chunks from the front, while
// the calling thread takes the chunks it needs as it reads (require), or the rest (finish):
// reading can start before the whole stream is done. A small stream gets no thread.
// Only the thread that made the object calls require() and finish().
class StreamCrypt {
public:
    // Walks the records first: a record running past the end throws Error(Damaged) with its
    // id and offset before any byte is changed.
    StreamCrypt(const Rc4Cipher &cipher, std::span<std::uint8_t> stream);
    ~StreamCrypt(); // stops and joins the worker; chunks nobody took stay as they were
    StreamCrypt(const StreamCrypt &) = delete;
    StreamCrypt &operator=(const StreamCrypt &) = delete;

    // Returns once the bytes [begin, end) are done.
    void require(std::size_t begin, std::size_t end)
    {
        if (begin < doneBegin_ || end > doneEnd_)
            await(begin, end);
    }
    void finish() { require(0, stream_.size()); }

    // Streams below this size are done on the calling thread alone.
    static constexpr std::size_t parallelThreshold = 512 * 1024;

private:
    enum State : std::uint8_t { Free, Taken, Done };

    void await(std::size_t begin, std::size_t end);
    bool take(std::size_t chunk);
    void crypt(std::size_t chunk);
    void work();

    const Rc4Cipher &cipher_;
    std::span<std::uint8_t> stream_;
    std::vector<std::size_t> starts_; // chunk k is [starts_[k], starts_[k + 1])
    std::unique_ptr<std::atomic<std::uint8_t>[]> states_;
    std::atomic<bool> stop_{false};
    // The calling thread's own record of a range it has seen done.
    std::size_t doneBegin_ = 0, doneEnd_ = 0;
    std::jthread worker_; // last: joined before the rest goes
};

} // namespace xls
