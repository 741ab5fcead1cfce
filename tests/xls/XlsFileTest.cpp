#include "BiffWriter.h"
#include "CompoundFile.h"
#include "TestFiles.h"
#include "XlsFile.h"

#include <gtest/gtest.h>

using namespace xls;
using namespace xls::test;

namespace {

const std::u16string password = u"TRVX5093MQP";

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

// The same workbook, unencrypted and encrypted every way; CryptoAPI is saved as 4.2.
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

TEST(XlsFile, OpensEveryFixtureSchemeToTheSameBookAndRefusesAWrongPassword)
{
    const Bytes expected = writeWorkbookStream(openXlsFile(fixture("small_plain.xls"), u"").book);
    for (const FixtureCase &f : fixtures) {
        SCOPED_TRACE(f.file);
        const XlsFile file = openXlsFile(fixture(f.file), password);
        EXPECT_EQ(f.scheme, file.scheme);
        EXPECT_EQ(f.scheme ? password : u"", file.password);
        EXPECT_EQ(expected, writeWorkbookStream(file.book));
        EXPECT_TRUE(file.container.find("Workbook")->data.empty());
        EXPECT_TRUE(std::none_of(file.book.globals.begin(), file.book.globals.end(),
                                 [](const RawRecord &r) { return r.type == 0x002F; })) << "no FILEPASS kept";
        if (f.scheme) {
            EXPECT_EQ(thrown([&] { openXlsFile(fixture(f.file), u"TRVX5093MQp"); }).kind(), ErrorKind::WrongPassword);
        }
    }
    for (std::u16string_view wrong : {u"", u"trvx5093mqp", u"TRVX5093MQ", u"TRVX5093MQPX"})
        EXPECT_EQ(thrown([&] { openXlsFile(fixture("small_enc.xls"), wrong); }).kind(), ErrorKind::WrongPassword);
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
        EXPECT_EQ(writeWorkbookStream(file.book), writeWorkbookStream(reopened.book));

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
    const FilepassInfo encrypted = filepassOf(dir.path("new.xls"));
    EXPECT_EQ(std::make_tuple(true, 1u, 1u), std::make_tuple(encrypted.present, encrypted.major, encrypted.minor));
    EXPECT_FALSE(filepassOf(dir.path("open.xls")).present);
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
