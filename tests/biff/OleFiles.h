#pragma once

#include "Book.h"

#include <string>

// Test-side OLE2 access through libgsf, independent of the engine's container layer.
namespace biff_test {

xls::Bytes readWorkbookStream(const std::string &path);
void writeWorkbookFile(const std::string &path, const xls::Bytes &stream);
std::string fixture(const std::string &name);
std::string tempPath(const std::string &name);

} // namespace biff_test
