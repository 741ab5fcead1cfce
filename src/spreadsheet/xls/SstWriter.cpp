#include "SstWriter.h"

#include "ByteWriter.h"
#include "RecordTypes.h"
#include "spreadsheet/xls/container/SecondThread.h"

#include <algorithm>
#include <functional>
#include <numeric>

namespace xls {

namespace {

// A second thread is worth its start from this many strings on.
constexpr std::size_t parallelStrings = 32768;

// A fast 32-bit hash of the characters; equal hashes are confirmed by comparing the strings.
// Reading every character anyway, it also tells whether one needs 16 bits (`wide`).
std::uint32_t hashOf(std::u16string_view s, bool &wide)
{
    std::uint64_t h = 0x9E3779B97F4A7C15ull ^ s.size(), bits = 0;
    std::size_t i = 0;
    for (; i + 4 <= s.size(); i += 4) {
        const std::uint64_t chunk = static_cast<std::uint64_t>(s[i]) | static_cast<std::uint64_t>(s[i + 1]) << 16
                                    | static_cast<std::uint64_t>(s[i + 2]) << 32 | static_cast<std::uint64_t>(s[i + 3]) << 48;
        bits |= chunk;
        h = (h ^ chunk) * 0xFF51AFD7ED558CCDull;
        h ^= h >> 29;
    }
    for (; i < s.size(); ++i) {
        bits |= s[i];
        h = (h ^ s[i]) * 0xC4CEB9FE1A85EC53ull;
        h ^= h >> 31;
    }
    wide = (bits & 0xFF00FF00FF00FF00ull) != 0;
    h ^= h >> 33;
    return static_cast<std::uint32_t>(h);
}

// Sorts (hash << 32 | position) keys by their hash with three 11-bit radix passes (small
// count tables stay in cache); stable, so equal hashes keep their positions in order.
void radixSortByHash(std::vector<std::uint64_t> &keys)
{
    constexpr int Bits = 11;
    constexpr std::size_t Buckets = std::size_t{1} << Bits;
    std::vector<std::uint32_t> count(3 * Buckets, 0);
    for (std::uint64_t k : keys)
        for (int p = 0; p < 3; ++p)
            ++count[p * Buckets + ((k >> (32 + p * Bits)) & (Buckets - 1))];
    std::vector<std::uint64_t> tmp(keys.size());
    for (int p = 0; p < 3; ++p) {
        std::uint32_t *c = count.data() + p * Buckets;
        std::uint32_t sum = 0;
        for (std::size_t b = 0; b < Buckets; ++b) {
            const std::uint32_t n = c[b];
            c[b] = sum;
            sum += n;
        }
        for (std::uint64_t k : keys)
            tmp[c[(k >> (32 + p * Bits)) & (Buckets - 1)]++] = k;
        keys.swap(tmp);
    }
}

// Writes records of at most MaxBody bytes, opening CONTINUE records as the data runs on.
class ContinuedRecord {
public:
    ContinuedRecord(Bytes &out, std::uint16_t type) : out_(out) { open(type); }
    ~ContinuedRecord() { close(); }

    std::size_t room() const { return rec::MaxBody - (out_.size() - start_ - 4); }
    std::size_t recordStart() const { return start_; }
    void next()
    {
        close();
        open(rec::Continue);
    }

private:
    void open(std::uint16_t type)
    {
        start_ = out_.size();
        std::uint8_t *p = ByteWriter(out_).grow(4);
        ByteWriter::put16(p, type);
    }
    void close()
    {
        ByteWriter::put16(out_.data() + start_ + 2, static_cast<std::uint16_t>(out_.size() - start_ - 4));
    }

    Bytes &out_;
    std::size_t start_ = 0;
};

struct Bucket {
    std::uint32_t ib;     // absolute offset of the bucket's first string
    std::uint16_t offset; // of that string within its record
};

// One XLUnicodeRichExtendedString, where it starts noted in `bucket` when given. Its header
// and first character never straddle two records; characters running on into a CONTINUE
// restate their width there.
void writeString(std::u16string_view s, bool compressed, const StringPool::Rich *rich, ContinuedRecord &rec,
                 ByteWriter &w, std::vector<Bucket> *buckets)
{
    const std::size_t width = compressed ? 1 : 2;
    const bool runs = rich && rich->runCount, phonetic = rich && !rich->phonetic.empty();
    const std::size_t header = 3 + (runs ? 2 : 0) + (phonetic ? 4 : 0);
    if (rec.room() < header + (s.empty() ? 0 : width))
        rec.next();
    if (buckets)
        buckets->push_back({static_cast<std::uint32_t>(w.size()), static_cast<std::uint16_t>(w.size() - rec.recordStart())});
    if (!runs && !phonetic && rec.room() >= 3 + s.size() * width) { // the usual case, in one piece
        std::uint8_t *p = w.grow(3 + s.size() * width);
        ByteWriter::put16(p, static_cast<std::uint16_t>(s.size()));
        p[2] = compressed ? 0 : 0x01;
        ByteWriter::putChars(p + 3, s, compressed);
        return;
    }
    w.u16(static_cast<std::uint16_t>(s.size()));
    w.u8(static_cast<std::uint8_t>((compressed ? 0 : 0x01) | (runs ? 0x08 : 0) | (phonetic ? 0x04 : 0)));
    if (runs)
        w.u16(rich->runCount);
    if (phonetic)
        w.u32(static_cast<std::uint32_t>(rich->phonetic.size()));
    for (std::size_t done = 0; done < s.size();) {
        if (rec.room() < width) {
            rec.next();
            w.u8(compressed ? 0 : 1);
        }
        const std::size_t k = std::min(s.size() - done, rec.room() / width);
        w.chars(s.substr(done, k), compressed);
        done += k;
    }
}

// Formatting runs (4 bytes each, never split) and phonetic data after a rich string.
void writeRichTail(const StringPool::Rich &rich, ContinuedRecord &rec, ByteWriter &w)
{
    for (std::size_t at = 0; at < rich.runs.size();) {
        if (rec.room() < 4)
            rec.next();
        const std::size_t k = std::min(rich.runs.size() - at, rec.room() / 4 * 4);
        w.bytes(rich.runs.data() + at, k);
        at += k;
    }
    for (std::size_t at = 0; at < rich.phonetic.size();) {
        if (rec.room() == 0)
            rec.next();
        const std::size_t k = std::min(rich.phonetic.size() - at, rec.room());
        w.bytes(rich.phonetic.data() + at, k);
        at += k;
    }
}

} // namespace

SstWriter::SstWriter(const StringPool &pool) : pool_(pool), remap_(pool.size(), UINT32_MAX)
{
    order_.reserve(pool.size());
}

void SstWriter::reference(std::uint32_t poolIndex)
{
    ++total_;
    if (remap_[poolIndex] == UINT32_MAX) {
        remap_[poolIndex] = 0;
        order_.push_back(poolIndex);
    }
}

void SstWriter::finish()
{
    const std::size_t n = order_.size();
    std::vector<std::uint64_t> keys(n);
    std::vector<std::uint8_t> wide(n);
    const auto hash = [&](std::size_t from, std::size_t to) {
        for (std::size_t k = from; k < to; ++k) {
            bool sixteenBits = false;
            keys[k] = static_cast<std::uint64_t>(hashOf(pool_.at(order_[k]), sixteenBits)) << 32 | k;
            wide[k] = sixteenBits;
        }
    };
    // Hashing reads every character: a large table is hashed in two halves at once.
    std::jthread other = secondThread(n >= parallelStrings, [&] { hash(n / 2, n); });
    hash(0, other.joinable() ? n / 2 : n);
    if (other.joinable())
        other.join();
    if (!pool_.rich.empty()) // rich strings keep entries of their own
        std::erase_if(keys, [&](std::uint64_t key) { return pool_.rich.count(order_[static_cast<std::uint32_t>(key)]); });

    // canonical[k]: the first position in order_ holding the same plain string as position k.
    std::vector<std::uint32_t> canonical(n);
    std::iota(canonical.begin(), canonical.end(), 0u);
    radixSortByHash(keys);
    for (std::size_t i = 0; i < keys.size();) {
        std::size_t j = i + 1;
        while (j < keys.size() && (keys[j] >> 32) == (keys[i] >> 32))
            ++j;
        for (std::size_t a = i; a < j; ++a) {
            const auto ka = static_cast<std::uint32_t>(keys[a]);
            if (canonical[ka] != ka)
                continue;
            for (std::size_t b = a + 1; b < j; ++b) {
                const auto kb = static_cast<std::uint32_t>(keys[b]);
                if (canonical[kb] == kb && pool_.at(order_[ka]) == pool_.at(order_[kb]))
                    canonical[kb] = ka;
            }
        }
        i = j;
    }
    entries_.reserve(n);
    wide_.reserve(n);
    for (std::size_t k = 0; k < n; ++k) {
        if (canonical[k] == k) {
            remap_[order_[k]] = static_cast<std::uint32_t>(entries_.size());
            entries_.push_back(order_[k]);
            wide_.push_back(wide[k]);
        } else {
            remap_[order_[k]] = remap_[order_[canonical[k]]];
        }
    }
    order_ = {};
}

void SstWriter::write(Bytes &out) const
{
    const std::size_t n = entries_.size();
    const std::size_t perBucket = std::clamp<std::size_t>((n + 127) / 128, 8, 0xFFFF);
    std::vector<Bucket> buckets;
    buckets.reserve(n / perBucket + 1);
    ByteWriter w(out);
    {
        ContinuedRecord rec(out, rec::Sst);
        w.u32(total_);
        w.u32(static_cast<std::uint32_t>(n));
        for (std::size_t i = 0; i < n; ++i) {
            const std::uint32_t poolIndex = entries_[i];
            const auto richIt = pool_.rich.find(poolIndex);
            const StringPool::Rich *rich = richIt != pool_.rich.end() ? &richIt->second : nullptr;
            writeString(pool_.at(poolIndex), !wide_[i], rich, rec, w, i % perBucket == 0 ? &buckets : nullptr);
            if (rich)
                writeRichTail(*rich, rec, w);
        }
    }
    ContinuedRecord ext(out, rec::ExtSst);
    w.u16(static_cast<std::uint16_t>(perBucket));
    for (const auto &b : buckets) {
        if (ext.room() < 8)
            ext.next();
        w.u32(b.ib);
        w.u16(b.offset);
        w.u16(0);
    }
}

} // namespace xls
