// Any bytes given to the engine as an .xls file either open or raise xls::Error: no crash,
// no hang, no other exception. Data that starts like a BIFF8 stream is also parsed as a plain
// Workbook stream directly, which reaches the record reader far more often than mutated
// containers do. Whatever opens is written back to check the writer on odd books.
#include "Password.h"
#include "spreadsheet/xls/BiffReader.h"
#include "spreadsheet/xls/BiffWriter.h"
#include "spreadsheet/xls/container/Error.h"
#include "spreadsheet/xls/XlsFile.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const std::span<const std::uint8_t> bytes(data, size);
    try {
        const xls::XlsFile file = xls::openXls(bytes, kArchivePassword);
        xls::writeWorkbookStream(file.book);
    } catch (const xls::Error &) {
    }
    if (size >= 4 && data[0] == 0x09 && data[1] == 0x08) {
        try {
            const xls::Book book = xls::readWorkbookStream(bytes);
            xls::writeWorkbookStream(book);
        } catch (const xls::Error &) {
        }
    }
    return 0;
}
