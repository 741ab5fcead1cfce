#include "SstReader.h"

#include "ByteReader.h"
#include "RecordTypes.h"

#include <algorithm>

namespace xls {

SstReader::SstReader(std::vector<RecordRef> segments, std::size_t skip) : segs_(std::move(segments))
{
    for (const auto &s : segs_)
        remaining_ += s.body.size();
    bytes(std::min(skip, remaining_), nullptr);
}

void SstReader::truncated() const
{
    const auto &s = segs_[std::min(seg_, segs_.size() - 1)];
    throwDamaged(s.type, s.offset, "stringa troncata");
}

bool SstReader::nextSegment()
{
    while (seg_ + 1 < segs_.size()) {
        ++seg_;
        pos_ = 0;
        if (!segs_[seg_].body.empty())
            return true;
    }
    return false;
}

std::uint8_t SstReader::u8()
{
    while (pos_ >= segs_[seg_].body.size())
        if (!nextSegment())
            truncated();
    --remaining_;
    return segs_[seg_].body[pos_++];
}

std::uint16_t SstReader::u16()
{
    const std::uint16_t lo = u8();
    return static_cast<std::uint16_t>(lo | u8() << 8);
}

std::uint32_t SstReader::u32()
{
    const std::uint32_t lo = u16();
    return lo | static_cast<std::uint32_t>(u16()) << 16;
}

void SstReader::bytes(std::size_t n, Bytes *out)
{
    if (n > remaining_)
        truncated();
    if (out)
        out->reserve(out->size() + n);
    while (n > 0) {
        while (pos_ >= segs_[seg_].body.size())
            if (!nextSegment())
                truncated();
        const auto &body = segs_[seg_].body;
        const std::size_t k = std::min(n, body.size() - pos_);
        if (out)
            out->insert(out->end(), body.data() + pos_, body.data() + pos_ + k);
        pos_ += k;
        remaining_ -= k;
        n -= k;
    }
}

template <typename Sink> void SstReader::chars(std::size_t cch, bool highByte, Sink &&sink)
{
    while (cch > 0) {
        if (pos_ >= segs_[seg_].body.size()) {
            if (!nextSegment())
                truncated();
            highByte = segs_[seg_].body[pos_++] & 0x01; // a continued string restates its width
            --remaining_;
            continue;
        }
        const auto &body = segs_[seg_].body;
        const std::size_t width = highByte ? 2 : 1;
        const std::size_t avail = (body.size() - pos_) / width;
        if (avail == 0)
            throwDamaged(segs_[seg_].type, segs_[seg_].offset, "carattere diviso tra due record");
        const std::size_t k = std::min(cch, avail);
        sink(body.data() + pos_, k, highByte);
        pos_ += k * width;
        remaining_ -= k * width;
        cch -= k;
    }
}

std::uint32_t SstReader::richString(StringPool &pool)
{
    // Most strings are plain and lie within one record: read them straight from it.
    const auto body = segs_[seg_].body;
    if (pos_ <= body.size() && body.size() - pos_ >= 3) {
        const std::uint8_t *p = body.data() + pos_;
        const std::size_t cch = le16(p), size = 3 + ((p[2] & 0x01) ? 2 * cch : cch);
        if (!(p[2] & 0x0C) && size <= body.size() - pos_) {
            if (p[2] & 0x01)
                pool.appendUtf16le(p + 3, cch);
            else
                pool.appendLatin1(p + 3, cch);
            pos_ += size;
            remaining_ -= size;
            return pool.commitAppended();
        }
    }
    const std::uint16_t cch = u16();
    const std::uint8_t opt = u8();
    std::uint16_t runCount = 0;
    std::uint32_t extSize = 0;
    if (opt & 0x08)
        runCount = u16();
    if (opt & 0x04)
        extSize = u32();
    if (static_cast<std::size_t>(cch) > remaining_)
        truncated();
    chars(cch, opt & 0x01, [&](const std::uint8_t *p, std::size_t n, bool high) {
        if (high)
            pool.appendUtf16le(p, n);
        else
            pool.appendLatin1(p, n);
    });
    const std::uint32_t index = pool.commitAppended();
    if (runCount || extSize) {
        if (runCount * std::size_t{4} + extSize > remaining_)
            truncated();
        StringPool::Rich rich;
        rich.runCount = runCount;
        bytes(runCount * std::size_t{4}, &rich.runs);
        bytes(extSize, &rich.phonetic);
        pool.rich.emplace(index, std::move(rich));
    }
    return index;
}

std::u16string SstReader::plainString()
{
    const std::uint16_t cch = u16();
    const std::uint8_t opt = u8();
    std::u16string s;
    if (static_cast<std::size_t>(cch) > remaining_)
        truncated();
    s.reserve(cch);
    chars(cch, opt & 0x01, [&](const std::uint8_t *p, std::size_t n, bool high) {
        for (std::size_t i = 0; i < n; ++i)
            s.push_back(high ? le16(p + 2 * i) : p[i]);
    });
    return s;
}

std::uint32_t SstReader::readSst(std::vector<RecordRef> segments, StringPool &pool)
{
    const RecordRef first = segments.front();
    if (first.body.size() < 8)
        throwDamaged(first.type, first.offset, "lunghezza " + std::to_string(first.body.size())
                                                   + " inferiore al minimo 8");
    SstReader r(std::move(segments), 4);
    const std::uint32_t unique = r.u32();
    // Every string takes at least 3 bytes: no count can claim more than the data holds.
    if (unique > r.remaining() / 3)
        throwDamaged(first.type, first.offset,
                     "SST dichiara " + std::to_string(unique) + " stringhe, i dati ne contengono meno");
    pool.reserve(unique, r.remaining() - 3 * std::size_t{unique});
    for (std::uint32_t i = 0; i < unique; ++i)
        r.richString(pool);
    return unique;
}

} // namespace xls
