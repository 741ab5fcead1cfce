#include "CompoundFile.h"
#include "Error.h"
#include "TestFiles.h"
#include "XlsFile.h"

#include <gtest/gtest.h>

using namespace xls;
using namespace xls::test;

namespace {

const std::u16string password = u"TRVX5093MQP";

// Every sheet with every non-blank cell, to compare what two files hold.
std::u16string describe(const Book &book)
{
    std::u16string out;
    for (const Sheet &sheet : book.sheets) {
        out += u"[" + sheet.name + u"]";
        for (std::size_t r = 0; r < sheet.rows.size(); ++r)
            for (const Cell &cell : sheet.rows[r].cells) {
                if (cell.kind == CellKind::Blank)
                    continue;
                std::string where = std::to_string(r) + "," + std::to_string(cell.col) + "=";
                out += std::u16string(where.begin(), where.end());
                if (cell.kind == CellKind::Text) {
                    out += book.strings.at(cell.text);
                } else {
                    const std::string value = std::to_string(int(cell.kind)) + ":" + std::to_string(cell.number) + ":" +
                                              std::to_string(cell.code);
                    out += std::u16string(value.begin(), value.end());
                }
                out += u";";
            }
    }
    return out;
}

struct FilepassInfo {
    bool present = false;
    unsigned major = 0, minor = 0, keyBits = 0;
    Bytes salt;
};

FilepassInfo filepassOf(const std::string &path)
{
    const Bytes stream = workbookStream(path);
    FilepassInfo info;
    try {
        const Bytes body = findFilepassRecord(stream).body;
        info.present = true;
        info.major = body[2];
        info.minor = body[4];
        const bool cryptoApi = info.major != 1;
        info.keyBits = cryptoApi ? unsigned(body[30] | body[31] << 8) : 40;
        info.salt.assign(body.begin() + (cryptoApi ? 144 : 6), body.begin() + (cryptoApi ? 160 : 22));
    } catch (const std::runtime_error &) {
    }
    return info;
}

struct FixtureCase {
    const char *file;
    std::optional<Scheme> scheme;
    unsigned savedMajor, savedMinor;
};

const FixtureCase fixtures[] = {
    {"small_plain.xls", std::nullopt, 0, 0},
    {"small_enc.xls", Scheme::Rc4Md5, 1, 1},
    {"small_rc4_1.1.xls", Scheme::Rc4Md5, 1, 1},
    {"small_cryptoapi_2.2_128bit.xls", Scheme::CryptoApi, 4, 2},
    {"small_cryptoapi_3.2_128bit.xls", Scheme::CryptoApi, 4, 2},
    {"small_cryptoapi_4.2_128bit.xls", Scheme::CryptoApi, 4, 2},
    {"small_cryptoapi_4.2_40bit.xls", Scheme::CryptoApi, 4, 2},
};

} // namespace

TEST(XlsFile, OpensEveryFixtureSchemeToTheSameCells)
{
    const std::u16string expected = describe(openXlsFile(fixture("small_plain.xls"), u"").book);
    ASSERT_NE(std::u16string::npos, expected.find(u"[Other]"));
    for (const FixtureCase &f : fixtures) {
        SCOPED_TRACE(f.file);
        const XlsFile file = openXlsFile(fixture(f.file), password);
        EXPECT_EQ(f.scheme, file.scheme);
        EXPECT_EQ(f.scheme ? password : u"", file.password);
        EXPECT_EQ(expected, describe(file.book));
        EXPECT_TRUE(file.container.find("Workbook")->data.empty());
    }
}

TEST(XlsFile, RefusesAWrongPasswordForEveryScheme)
{
    for (const FixtureCase &f : fixtures) {
        if (!f.scheme)
            continue;
        SCOPED_TRACE(f.file);
        for (std::u16string_view wrong : {u"", u"trvx5093mqp", u"TRVX5093MQ", u"TRVX5093MQPX"}) {
            try {
                openXlsFile(fixture(f.file), wrong);
                ADD_FAILURE() << "accepted";
            } catch (const Error &e) {
                EXPECT_EQ(ErrorKind::WrongPassword, e.kind());
                EXPECT_TRUE(looksItalian(e.what())) << e.what();
            }
        }
    }
}

TEST(XlsFile, SavesWithTheSchemeItWasOpenedWithAndAFreshSalt)
{
    ScratchDir dir;
    for (const FixtureCase &f : fixtures) {
        SCOPED_TRACE(f.file);
        const XlsFile file = openXlsFile(fixture(f.file), password);
        const std::string saved = dir.path(f.file);
        saveXlsFile(file, saved);

        const FilepassInfo before = filepassOf(fixture(f.file)), after = filepassOf(saved);
        EXPECT_EQ(bool(f.scheme), after.present);
        if (f.scheme) {
            EXPECT_EQ(f.savedMajor, after.major);
            EXPECT_EQ(f.savedMinor, after.minor);
            EXPECT_EQ(f.scheme == Scheme::CryptoApi ? 128u : 40u, after.keyBits);
            EXPECT_NE(before.salt, after.salt);
        }
        const XlsFile reopened = openXlsFile(saved, password);
        EXPECT_EQ(f.scheme, reopened.scheme);
        EXPECT_EQ(describe(file.book), describe(reopened.book));

        // The streams the engine does not touch come back as they were, with the CLSID.
        const Container original = readContainer(readFile(fixture(f.file)));
        const Container copy = readContainer(readFile(saved));
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

TEST(XlsFile, AnUnencryptedFileOpensWithAnyPasswordAndStaysUnencrypted)
{
    ScratchDir dir;
    const XlsFile file = openXlsFile(fixture("small_plain.xls"), password);
    EXPECT_FALSE(file.scheme);
    EXPECT_TRUE(file.password.empty());
    saveXlsFile(file, dir.path("plain.xls"));
    EXPECT_FALSE(filepassOf(dir.path("plain.xls")).present);
    EXPECT_EQ(describe(file.book), describe(openXlsFile(dir.path("plain.xls"), u"").book));
}

TEST(XlsFile, ANewFileIsAnExcelContainerEncryptedWithRc4WhenGivenAPassword)
{
    ScratchDir dir;
    saveXlsFile(newXlsFile(newBook(u"Velmoro"), password), dir.path("new.xls"));
    saveXlsFile(newXlsFile(newBook(u"Velmoro"), u""), dir.path("open.xls"));

    const Container c = readContainer(readFile(dir.path("new.xls")));
    EXPECT_EQ(excelClsid, c.clsid);
    ASSERT_EQ(1u, c.entries.size());
    EXPECT_EQ("Workbook", c.entries[0].name);
    const FilepassInfo encrypted = filepassOf(dir.path("new.xls"));
    EXPECT_TRUE(encrypted.present);
    EXPECT_EQ(1u, encrypted.major);
    EXPECT_EQ(1u, encrypted.minor);
    EXPECT_FALSE(filepassOf(dir.path("open.xls")).present);

    const XlsFile reopened = openXlsFile(dir.path("new.xls"), password);
    EXPECT_EQ(Scheme::Rc4Md5, reopened.scheme);
    ASSERT_EQ(1u, reopened.book.sheets.size());
    EXPECT_EQ(u"Velmoro", reopened.book.sheets[0].name);
    EXPECT_THROW(openXlsFile(dir.path("new.xls"), u"other"), Error);
}

TEST(XlsFile, AMissingFileOrAFolderIsAnIoErrorNamingIt)
{
    ScratchDir dir;
    for (const std::string &path : {dir.path("Archivio.xls"), dir.dir().string()}) {
        try {
            openXlsFile(path, password);
            ADD_FAILURE() << "opened " << path;
        } catch (const Error &e) {
            EXPECT_EQ(ErrorKind::Io, e.kind());
            EXPECT_NE(std::string::npos, std::string(e.what()).find(path)) << e.what();
            EXPECT_TRUE(looksItalian(e.what())) << e.what();
        }
    }
}

TEST(XlsFile, OpensAFileEncryptedWithExcelsDefaultPasswordWhateverPasswordIsGiven)
{
    ScratchDir dir;
    saveXlsFile(newXlsFile(newBook(u"Velmoro"), u"VelvetSweatshop"), dir.path("readonly.xls"));
    const XlsFile file = openXlsFile(dir.path("readonly.xls"), password);
    EXPECT_EQ(Scheme::Rc4Md5, file.scheme);
    EXPECT_EQ(u"VelvetSweatshop", file.password);
}
