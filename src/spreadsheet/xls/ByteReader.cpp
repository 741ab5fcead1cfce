#include "ByteReader.h"

namespace xls {

void throwDamaged(std::uint16_t type, std::size_t offset, const std::string &what)
{
    throw Error(ErrorKind::Damaged, type, offset, what);
}

void ByteReader::fail(std::size_t wanted) const
{
    throwDamaged(type_, offset_,
                 "dati troncati (servono " + std::to_string(wanted) + " byte alla posizione "
                     + std::to_string(pos_) + " di " + std::to_string(n_) + ")");
}

} // namespace xls
