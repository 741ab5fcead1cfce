#include "ByteReader.h"

#include <cstdio>

namespace xls {

std::string recordWhere(std::uint16_t type, std::size_t offset)
{
    char buf[64];
    std::snprintf(buf, sizeof buf, "record 0x%04X all'offset %zu", static_cast<unsigned>(type), offset);
    return buf;
}

void throwDamaged(std::uint16_t type, std::size_t offset, const std::string &what)
{
    throw Error(ErrorKind::Damaged, recordWhere(type, offset) + ": " + what);
}

void ByteReader::fail(std::size_t wanted) const
{
    throwDamaged(type_, offset_,
                 "dati troncati (servono " + std::to_string(wanted) + " byte alla posizione "
                     + std::to_string(pos_) + " di " + std::to_string(n_) + ")");
}

} // namespace xls
