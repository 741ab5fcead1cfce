#include "CompoundFile.h"
#include "Error.h"
#include "OleImage.h"
#include "TestFiles.h"
#include "XlsFile.h"

#include <gtest/gtest.h>

using namespace xls;
using namespace xls::test;

namespace {

const std::u16string password = u"TRVX5093MQP";

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
    StorageEntry &entry = c.entries.emplace_back();
    entry.name = name;
    entry.data = std::move(data);
    return c;
}

// BOF of the given BIFF version for the workbook globals, then EOF.
Bytes bofOnly(std::uint8_t versionHigh)
{
    return {0x09, 0x08, 0x08, 0x00, 0x00, versionHigh, 0x05, 0x00, 0xBB, 0x0D, 0xCC, 0x07, 0x0A, 0x00, 0x00, 0x00};
}

// small_enc.xls with its FILEPASS record replaced by another body.
Bytes withFilepass(const Bytes &body)
{
    const Bytes stream = workbookStream(fixture("small_enc.xls"));
    const FilepassAt old = findFilepassRecord(stream);
    Bytes patched(stream.begin(), stream.begin() + long(old.offset));
    patched.insert(patched.end(), {0x2F, 0x00, std::uint8_t(body.size()), std::uint8_t(body.size() >> 8)});
    patched.insert(patched.end(), body.begin(), body.end());
    patched.insert(patched.end(), stream.begin() + long(old.offset + 4 + old.body.size()), stream.end());
    return withWorkbook("small_enc.xls", patched);
}

ErrorKind openFails(const Bytes &bytes, std::u16string_view pw, std::string &message)
{
    ScratchDir dir;
    writeFile(dir.path("Archivio.xls"), bytes);
    try {
        openXlsFile(dir.path("Archivio.xls"), pw);
    } catch (const Error &e) {
        message = e.what();
        return e.kind();
    }
    message = "opened";
    return ErrorKind(-1);
}

} // namespace

TEST(BrokenInput, EachBrokenFileGivesItsClearError)
{
    const std::string text = "ID;Ragione sociale\n1;Rossi Srl\n";
    OleImage loop(readFile(fixture("small_plain.xls")));
    loop.setFat(loop.firstDirectorySector(), loop.firstDirectorySector());
    Bytes garbage(5000);
    for (std::size_t i = 0; i < garbage.size(); ++i)
        garbage[i] = std::uint8_t(i * 131 + 7);

    struct Case {
        const char *what;
        Bytes bytes;
        std::u16string_view password;
        ErrorKind kind;
        const char *mentions;
    };
    const Case cases[] = {
        {"zero-length file", {}, password, ErrorKind::NotAWorkbook, ""},
        {"garbage", garbage, password, ErrorKind::NotAWorkbook, ""},
        {"a text file named .xls", Bytes(text.begin(), text.end()), password, ErrorKind::NotAWorkbook, ""},
        {"an OLE2 file without a Workbook stream", containerBytes(single("\005SummaryInformation", garbage)), password,
         ErrorKind::NotAWorkbook, "Workbook"},
        {"a BIFF5 workbook", containerBytes(single("Book", bofOnly(0x05))), password, ErrorKind::NotAWorkbook, "5.0/95"},
        {"wrong password", readFile(fixture("small_enc.xls")), u"TRVX5093MQ", ErrorKind::WrongPassword, "password"},
        {"the XOR obfuscation scheme", withFilepass({0x00, 0x00, 0x34, 0x12, 0x78, 0x56}), password,
         ErrorKind::Unsupported, "XOR"},
        {"an encrypted stream cut inside a record", withWorkbook("small_enc.xls", [] {
             Bytes s = workbookStream(fixture("small_enc.xls"));
             s.resize(3001);
             return s;
         }()),
         password, ErrorKind::Damaged, "offset"},
        {"a sector chain that loops", loop.bytes(), password, ErrorKind::Damaged, "settor"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        std::string message;
        EXPECT_EQ(int(c.kind), int(openFails(c.bytes, c.password, message))) << message;
        EXPECT_TRUE(looksItalian(message)) << message;
        EXPECT_NE(std::string::npos, message.find(c.mentions)) << message;
    }
}

TEST(BrokenInput, AFileCutAnywhereIsReportedAsDamaged)
{
    for (const char *name : {"small_enc.xls", "small_cryptoapi_4.2_128bit.xls", "small_plain.xls"}) {
        const Bytes whole = readFile(fixture(name));
        for (std::size_t size = 0; size < whole.size(); size += size < 600 ? 7 : 97) {
            SCOPED_TRACE(std::string(name) + " cut at " + std::to_string(size));
            try {
                openXls(std::span(whole).first(size), password);
                ADD_FAILURE() << "opened";
            } catch (const Error &e) {
                EXPECT_EQ(int(size < 8 ? ErrorKind::NotAWorkbook : ErrorKind::Damaged), int(e.kind())) << e.what();
                EXPECT_TRUE(looksItalian(e.what())) << e.what();
            }
        }
    }
}
