#include "RecordStream.h"

#include "ByteReader.h"

namespace xls {

RecordRef RecordStream::next()
{
    if (limit_ - pos_ < 4)
        throw Error(ErrorKind::Damaged, std::nullopt, pos_, "intestazione di record troncata");
    const std::uint16_t type = le16(s_.data() + pos_);
    const std::size_t size = le16(s_.data() + pos_ + 2);
    if (size > limit_ - pos_ - 4)
        throwDamaged(type, pos_, "lunghezza " + std::to_string(size) + " oltre la fine del flusso");
    RecordRef r{type, pos_, s_.subspan(pos_ + 4, size)};
    pos_ += 4 + size;
    return r;
}

bool RecordStream::peek(std::uint16_t &type) const
{
    if (limit_ - pos_ < 4)
        return false;
    type = le16(s_.data() + pos_);
    const std::size_t size = le16(s_.data() + pos_ + 2);
    return size <= limit_ - pos_ - 4;
}

} // namespace xls
