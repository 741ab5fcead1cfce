#include "RecordStream.h"

#include "ByteReader.h"

namespace xls {

namespace {

// Kept out of line: the walk runs once a record.
[[noreturn, gnu::cold, gnu::noinline]] void truncatedHeader(std::size_t offset)
{
    throw Error(ErrorKind::Damaged, std::nullopt, offset, "intestazione di record troncata");
}

[[noreturn, gnu::cold, gnu::noinline]] void pastTheEnd(std::uint16_t type, std::size_t offset, std::size_t size)
{
    throwDamaged(type, offset, "lunghezza " + std::to_string(size) + " oltre la fine del flusso");
}

} // namespace

RecordRef RecordStream::next()
{
    if (limit_ - pos_ < 4)
        truncatedHeader(pos_);
    ready(pos_ + 4);
    const std::uint16_t type = le16(s_.data() + pos_);
    const std::size_t size = le16(s_.data() + pos_ + 2);
    if (size > limit_ - pos_ - 4)
        pastTheEnd(type, pos_, size);
    ready(pos_ + 4 + size);
    RecordRef r{type, pos_, s_.subspan(pos_ + 4, size)};
    pos_ += 4 + size;
    return r;
}

bool RecordStream::peek(std::uint16_t &type) const
{
    if (limit_ - pos_ < 4)
        return false;
    ready(pos_ + 4);
    type = le16(s_.data() + pos_);
    const std::size_t size = le16(s_.data() + pos_ + 2);
    return size <= limit_ - pos_ - 4;
}

} // namespace xls
