#include "OleImage.h"
#include "Password.h"
#include "spreadsheet/xls/container/CompoundFile.h"
#include "spreadsheet/xls/XlsFile.h"
#include "TestFiles.h"

#include <gtest/gtest.h>

#include <optional>

using namespace xls;
using namespace xls::test;

namespace {

const std::u16string &password = kArchivePassword;

Bytes containerBytes(const Container &c)
{
    ScratchDir dir;
    writeContainer(c, dir.path("c.xls"));
    return readFile(dir.path("c.xls"));
}

Bytes withWorkbook(const char *fixtureName, const Bytes &stream)
{
    Container c = readContainer(readFile(fixture(fixtureName)));
    c.find("Workbook")->data = stream;
    return containerBytes(c);
}

Container single(const std::string &name, Bytes data)
{
    Container c;
    c.entries.push_back(StorageEntry{.name = name, .data = std::move(data)});
    return c;
}

// The type and offset of the record of the stream that runs past `size`.
std::pair<std::uint16_t, std::size_t> recordAcross(const Bytes &stream, std::size_t size)
{
    std::size_t pos = 0;
    while (pos + 4 + (stream[pos + 2] | stream[pos + 3] << 8) <= size)
        pos += 4 + (stream[pos + 2] | stream[pos + 3] << 8);
    return {std::uint16_t(stream[pos] | stream[pos + 1] << 8), pos};
}

} // namespace

TEST(BrokenInput, EachBrokenFileGivesItsErrorNamingRecordAndOffsetWhereThereIsOne)
{
    const std::string text = "ID;Ragione sociale\n1;Rossi Srl\n";
    OleImage loop(readFile(fixture("small_plain.xls")));
    loop.setFat(loop.firstDirectorySector(), loop.firstDirectorySector());
    const Bytes garbage(5000, 0x5A);
    const Bytes biff5{0x09, 0x08, 0x08, 0x00, 0x00, 0x05, 0x05, 0x00, 0xBB, 0x0D, 0xCC, 0x07, 0x0A, 0x00, 0x00, 0x00};
    Bytes encrypted = workbookStream(fixture("small_enc.xls"));
    encrypted.resize(3001);
    const auto [type, offset] = recordAcross(encrypted, 3001);
    const Bytes whole = readFile(fixture("small_enc.xls"));

    struct Case {
        const char *what;
        Bytes bytes;
        ErrorKind kind;
        std::optional<std::uint16_t> record;
        std::optional<std::size_t> offset;
    };
    const Case cases[] = {
        {"zero-length file", {}, ErrorKind::NotAWorkbook, {}, {}},
        {"a text file named .xls", Bytes(text.begin(), text.end()), ErrorKind::NotAWorkbook, {}, {}},
        {"an OLE2 file without a Workbook stream", containerBytes(single("\005SummaryInformation", garbage)),
         ErrorKind::NotAWorkbook, {}, {}},
        {"a BIFF5 workbook", containerBytes(single("Book", biff5)), ErrorKind::NotAWorkbook, {}, {}},
        {"an encrypted stream cut inside a record", withWorkbook("small_enc.xls", encrypted),
         ErrorKind::Damaged, type, offset},
        {"a file cut in half", Bytes(whole.begin(), whole.begin() + long(whole.size() / 2)), ErrorKind::Damaged, {}, {}},
        {"a sector chain that loops", loop.bytes(), ErrorKind::Damaged, {}, {}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        const Error e = thrown([&] { openXls(c.bytes, password); });
        EXPECT_EQ(int(c.kind), int(e.kind())) << e.what();
        EXPECT_EQ(c.record, e.record()) << e.what();
        EXPECT_EQ(c.offset, e.offset()) << e.what();
    }
}
