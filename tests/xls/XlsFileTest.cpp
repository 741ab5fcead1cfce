#include "Password.h"
#include "spreadsheet/xls/BiffWriter.h"
#include "spreadsheet/xls/container/CompoundFile.h"
#include "spreadsheet/xls/container/LittleEndian.h"
#include "spreadsheet/xls/XlsFile.h"
#include "TestFiles.h"

#include <gtest/gtest.h>

using namespace xls;
using namespace xls::test;

namespace {

const std::u16string &password = kArchivePassword;

// FILEPASS version, key bits and salt of a saved file; empty when it is not encrypted.
std::optional<std::tuple<unsigned, unsigned, unsigned, Bytes>> filepassOf(const std::string &path)
{
    const Bytes stream = workbookStream(path);
    try {
        const Bytes b = findFilepassRecord(stream).body;
        const bool cryptoApi = b[2] != 1;
        return std::make_tuple(unsigned(b[2]), unsigned(b[4]), cryptoApi ? unsigned(b[30] | b[31] << 8) : 40u,
                               Bytes(b.begin() + (cryptoApi ? 144 : 6), b.begin() + (cryptoApi ? 160 : 22)));
    } catch (const std::runtime_error &) {
        return std::nullopt;
    }
}

// The same workbook, unencrypted and encrypted every way; CryptoAPI is saved as 4.2.
const std::pair<const char *, std::optional<Scheme>> fixtures[] = {
    {"small_plain.xls", std::nullopt},
    {"small_enc.xls", Scheme::Rc4Md5},
    {"small_rc4_1.1.xls", Scheme::Rc4Md5},
    {"small_cryptoapi_2.2_128bit.xls", Scheme::CryptoApi},
    {"small_cryptoapi_3.2_128bit.xls", Scheme::CryptoApi},
    {"small_cryptoapi_4.2_128bit.xls", Scheme::CryptoApi},
    {"small_cryptoapi_4.2_40bit.xls", Scheme::CryptoApi},
};

// A registry large enough to be decrypted while it is read and encrypted on two threads.
Book largeBook()
{
    Book book = newBook(u"Velmoro");
    for (std::uint32_t row = 0; row < 6000; ++row) {
        for (std::uint16_t col = 0; col < 18; ++col) {
            const std::string text = "soggetto " + std::to_string(row) + " campo " + std::to_string(col);
            Cell &cell = book.sheets[0].touch(row, col);
            cell.kind = CellKind::Text;
            cell.text = book.strings.add(std::u16string(text.begin(), text.end()));
        }
    }
    return book;
}

} // namespace

// Both schemes, through the paths a large file takes; then the same file with a string index
// broken in its last cell, where the worker thread decrypts: the error names that record.
TEST(XlsFile, ALargeFileComesBackWholeAndItsErrorsNameTheirRecord)
{
    ScratchDir dir;
    const XlsFile large = newXlsFile(largeBook(), password);
    const Bytes expected = writeWorkbookStream(large.book);
    ASSERT_GT(expected.size(), 2'000'000u);
    for (const Scheme scheme : {Scheme::Rc4Md5, Scheme::CryptoApi}) {
        XlsFile file = large;
        file.scheme = scheme;
        saveXlsFile(file, dir.path("large.xls"));
        EXPECT_EQ(expected, writeWorkbookStream(openXlsFile(dir.path("large.xls"), password).book));
    }

    Container container = readContainer(readFile(dir.path("large.xls")));
    Bytes &stream = container.find("Workbook")->data;
    const Rc4Cipher cipher = Rc4Cipher::fromFilepass(findFilepassRecord(stream).body, password);
    cipher.decryptStream(stream);
    std::size_t last = 0;
    for (std::size_t pos = 0; pos + 4 <= stream.size(); pos += 4 + le16(&stream[pos + 2]))
        if (le16(&stream[pos]) == 0x00FD)
            last = pos;
    stream[last + 4 + 6 + 3] = 0xFF; // the string index, far past the table
    cipher.encryptStream(stream);
    writeContainer(container, dir.path("broken.xls"));
    const Error e = thrown([&] { openXlsFile(dir.path("broken.xls"), password); });
    EXPECT_EQ(std::make_tuple(ErrorKind::Damaged, std::optional<std::uint16_t>(0x00FD), std::optional<std::size_t>(last)),
              std::make_tuple(e.kind(), e.record(), e.offset()));
}

TEST(XlsFile, OpensEveryFixtureSchemeToTheSameBookAndRefusesAWrongPassword)
{
    const Bytes expected = writeWorkbookStream(openXlsFile(fixture("small_plain.xls"), u"").book);
    for (const auto &[name, scheme] : fixtures) {
        SCOPED_TRACE(name);
        const XlsFile file = openXlsFile(fixture(name), password);
        EXPECT_EQ(scheme, file.scheme);
        EXPECT_EQ(scheme ? password : u"", file.password);
        EXPECT_EQ(expected, writeWorkbookStream(file.book)) << "no FILEPASS kept";
        EXPECT_TRUE(file.container.find("Workbook")->data.empty());
        if (scheme) {
            EXPECT_EQ(thrown([&] { openXlsFile(fixture(name), u"TRVX5093MQp"); }).kind(), ErrorKind::WrongPassword);
        }
    }
    for (std::u16string_view wrong : {u"", u"trvx5093mqp", u"TRVX5093MQ", u"TRVX5093MQPX"})
        EXPECT_EQ(thrown([&] { openXlsFile(fixture("small_enc.xls"), wrong); }).kind(), ErrorKind::WrongPassword);
}

TEST(XlsFile, SavesWithTheSchemeItWasOpenedWithAndAFreshSalt)
{
    ScratchDir dir;
    for (const auto &[name, scheme] : fixtures) {
        SCOPED_TRACE(name);
        const XlsFile file = openXlsFile(fixture(name), password);
        const std::string saved = dir.path(name);
        saveXlsFile(file, saved);
        const auto before = filepassOf(fixture(name)), after = filepassOf(saved);
        ASSERT_EQ(bool(scheme), bool(after));
        if (scheme) {
            const bool rc4 = scheme == Scheme::Rc4Md5;
            EXPECT_EQ(std::make_tuple(rc4 ? 1u : 4u, rc4 ? 1u : 2u, rc4 ? 40u : 128u),
                      std::make_tuple(std::get<0>(*after), std::get<1>(*after), std::get<2>(*after)));
            EXPECT_NE(std::get<3>(*before), std::get<3>(*after));
        }
        const XlsFile reopened = openXlsFile(saved, password);
        EXPECT_EQ(scheme, reopened.scheme);
        EXPECT_EQ(writeWorkbookStream(file.book), writeWorkbookStream(reopened.book));

        // The streams the engine does not touch come back as they were, with the CLSID.
        const Container original = readContainer(readFile(fixture(name))), copy = readContainer(readFile(saved));
        EXPECT_EQ(original.clsid, copy.clsid);
        ASSERT_EQ(original.entries.size(), copy.entries.size());
        for (std::size_t i = 0; i < original.entries.size(); ++i) {
            EXPECT_EQ(original.entries[i].name, copy.entries[i].name);
            if (original.entries[i].name != "Workbook") {
                EXPECT_EQ(original.entries[i].data, copy.entries[i].data) << original.entries[i].name;
            }
        }
    }
}

// A new file is saved only where no file is yet; Excel's "VelvetSweatshop" opens whatever
// password is given, as Excel does for files with only a password to modify.
TEST(XlsFile, ANewFileIsAnExcelContainerEncryptedWithRc4AndNeverReplacesAFile)
{
    ScratchDir dir;
    saveXlsFile(newXlsFile(newBook(u"Velmoro"), password), dir.path("new.xls"), SaveMode::CreateOnly);
    saveXlsFile(newXlsFile(newBook(u"Velmoro"), u""), dir.path("open.xls"));
    saveXlsFile(newXlsFile(newBook(u"Velmoro"), u"VelvetSweatshop"), dir.path("readonly.xls"));
    const Container c = readContainer(readFile(dir.path("new.xls")));
    EXPECT_EQ(excelClsid, c.clsid);
    ASSERT_EQ(1u, c.entries.size());
    EXPECT_EQ("Workbook", c.entries[0].name);
    const auto encrypted = filepassOf(dir.path("new.xls"));
    ASSERT_TRUE(encrypted);
    EXPECT_EQ(std::make_tuple(1u, 1u), std::make_tuple(std::get<0>(*encrypted), std::get<1>(*encrypted)));
    EXPECT_FALSE(filepassOf(dir.path("open.xls")));
    EXPECT_EQ(u"VelvetSweatshop", openXlsFile(dir.path("readonly.xls"), password).password);

    const Bytes first = readFile(dir.path("new.xls"));
    const XlsFile other = newXlsFile(newBook(u"Altro"), password);
    EXPECT_EQ(thrown([&] { saveXlsFile(other, dir.path("new.xls"), SaveMode::CreateOnly); }).kind(), ErrorKind::Io);
    EXPECT_EQ(first, readFile(dir.path("new.xls")));
    EXPECT_EQ(3u, dir.entryCount());
}

TEST(XlsFile, AMissingFileOrAFolderIsAnIoErrorNamingIt)
{
    ScratchDir dir;
    for (const std::string &path : {dir.path("Archivio.xls"), dir.dir().string()}) {
        const Error e = thrown([&] { openXlsFile(path, password); });
        EXPECT_EQ(ErrorKind::Io, e.kind());
        EXPECT_NE(std::string::npos, std::string(e.what()).find(path)) << e.what();
    }
}
