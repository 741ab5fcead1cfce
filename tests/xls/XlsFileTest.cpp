#include "BiffWriter.h"
#include "Password.h"
#include "CompoundFile.h"
#include "TestFiles.h"
#include "XlsFile.h"

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

} // namespace

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
