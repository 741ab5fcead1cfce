#include "RecordStream.h"

#include "ByteReader.h"

namespace xls {

RecordRef RecordStream::next()
{
    if (limit_ - pos_ < 4)
        throwDamaged(0, pos_, "intestazione di record troncata");
    const std::uint16_t type = static_cast<std::uint16_t>(s_[pos_] | s_[pos_ + 1] << 8);
    const std::size_t size = static_cast<std::size_t>(s_[pos_ + 2] | s_[pos_ + 3] << 8);
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
    type = static_cast<std::uint16_t>(s_[pos_] | s_[pos_ + 1] << 8);
    const std::size_t size = static_cast<std::size_t>(s_[pos_ + 2] | s_[pos_ + 3] << 8);
    return size <= limit_ - pos_ - 4;
}

} // namespace xls
