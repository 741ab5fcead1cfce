#include "StreamCrypt.h"

#include "Error.h"
#include "LittleEndian.h"
#include "SecondThread.h"

#include <algorithm>
#include <string>

namespace xls {

namespace {

// Small enough for the two threads to share the work evenly, large enough that taking a
// chunk costs nothing next to crypting it.
constexpr std::size_t chunkSize = 64 * 1024;

[[noreturn]] void recordPastEnd(const std::uint8_t *stream, std::size_t offset, std::size_t size)
{
    throw Error(ErrorKind::Damaged, le16(stream + offset), offset,
                "lunghezza " + std::to_string(le16(stream + offset + 2)) + " oltre la fine del flusso Workbook ("
                    + std::to_string(size) + " byte)");
}

} // namespace

StreamCrypt::StreamCrypt(const Rc4Cipher &cipher, std::span<std::uint8_t> stream) : cipher_(cipher), stream_(stream)
{
    const std::uint8_t *data = stream.data();
    const std::size_t size = stream.size();
    starts_.reserve(size / chunkSize + 2);
    starts_.push_back(0);
    // Fewer bytes than a record header at the end are padding, not a record.
    for (std::size_t pos = 0; pos + 4 <= size;) {
        const std::size_t next = pos + 4 + le16(data + pos + 2);
        if (next > size)
            recordPastEnd(data, pos, size);
        pos = next;
        if (pos - starts_.back() >= chunkSize && pos < size)
            starts_.push_back(pos);
    }
    starts_.push_back(size);
    states_ = std::make_unique<std::atomic<std::uint8_t>[]>(starts_.size() - 1);
    worker_ = secondThread(size >= parallelThreshold, [this] { work(); });
}

StreamCrypt::~StreamCrypt()
{
    stop_.store(true, std::memory_order_relaxed); // the worker, joined next, ends its chunk
}

bool StreamCrypt::take(std::size_t chunk)
{
    std::uint8_t expected = Free;
    return states_[chunk].load(std::memory_order_relaxed) == Free
           && states_[chunk].compare_exchange_strong(expected, Taken, std::memory_order_acquire);
}

void StreamCrypt::crypt(std::size_t chunk)
{
    cipher_.cryptRange(stream_, starts_[chunk], starts_[chunk + 1]);
    states_[chunk].store(Done, std::memory_order_release);
    states_[chunk].notify_all();
}

void StreamCrypt::work()
{
    for (std::size_t chunk = 0; chunk + 1 < starts_.size(); ++chunk) {
        if (stop_.load(std::memory_order_relaxed))
            return;
        if (take(chunk))
            crypt(chunk);
    }
}

// Each chunk of the range is done here when free; while the worker holds one, the next free
// chunk after it is done here meanwhile, so neither thread idles while work is left.
void StreamCrypt::await(std::size_t begin, std::size_t end)
{
    end = std::min(end, stream_.size());
    if (begin >= end)
        return;
    const std::size_t chunks = starts_.size() - 1;
    const auto chunkOf = [&](std::size_t offset) {
        return std::size_t(std::upper_bound(starts_.begin(), starts_.end(), offset) - starts_.begin()) - 1;
    };
    const std::size_t first = chunkOf(begin), last = std::min(chunkOf(end - 1), chunks - 1);
    for (std::size_t chunk = first; chunk <= last; ++chunk) {
        for (std::size_t help = chunk + 1;;) {
            const std::uint8_t state = states_[chunk].load(std::memory_order_acquire);
            if (state == Done)
                break;
            if (state == Free && take(chunk)) {
                crypt(chunk);
                break;
            }
            while (help < chunks && !take(help))
                ++help;
            if (help < chunks)
                crypt(help);
            else
                states_[chunk].wait(Taken, std::memory_order_acquire);
        }
    }
    doneBegin_ = starts_[first];
    doneEnd_ = starts_[last + 1];
}

} // namespace xls
