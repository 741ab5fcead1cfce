#include "Error.h"
#include "Rc4Cipher.h"
#include "TestFiles.h"

#include <gtest/gtest.h>
#include <nettle/arcfour.h>
#include <nettle/md5.h>

using namespace xls;
using namespace xls::test;

namespace {

const std::u16string password = u"TRVX5093MQP";

std::uint16_t le16(const Bytes &b, std::size_t at) { return std::uint16_t(b[at] | b[at + 1] << 8); }

// msoffcrypto's layout of a decrypted stream: FILEPASS turned into a record of type 0 with a
// zero body. The reference streams in fixtures/ are the fixtures decrypted that way by the
// independent tools/xls_rc4.py (--msoffcrypto-layout), which msoffcrypto agrees with.
Bytes msoffcryptoLayout(Bytes stream)
{
    const FilepassAt filepass = findFilepassRecord(stream);
    stream[filepass.offset] = stream[filepass.offset + 1] = 0;
    std::fill_n(stream.begin() + long(filepass.offset) + 4, filepass.body.size(), 0);
    return stream;
}

Bytes record(std::uint16_t type, Bytes body)
{
    Bytes out(4 + body.size());
    out[0] = std::uint8_t(type);
    out[1] = std::uint8_t(type >> 8);
    out[2] = std::uint8_t(body.size());
    out[3] = std::uint8_t(body.size() >> 8);
    std::copy(body.begin(), body.end(), out.begin() + 4);
    return out;
}

Bytes filler(std::size_t size, std::uint8_t seed)
{
    Bytes body(size);
    for (std::size_t i = 0; i < size; ++i)
        body[i] = std::uint8_t(seed + i * 7);
    return body;
}

// A plain stream: BOF, FILEPASS, then records of many sizes, some of them staying in clear.
Bytes sampleStream(const Bytes &filepass, std::size_t minimumSize)
{
    Bytes stream = record(0x0809, filler(16, 1));
    const Bytes fp = record(0x002F, filepass);
    stream.insert(stream.end(), fp.begin(), fp.end());
    for (std::size_t i = 0; stream.size() < minimumSize; ++i) {
        static const std::uint16_t types[] = {0x00FD, 0x027E, 0x0085, 0x00E1, 0x0809, 0x00FC, 0x003C, 0x0138};
        const Bytes r = record(types[i % 8], filler((i * 37) % 1100, std::uint8_t(i)));
        stream.insert(stream.end(), r.begin(), r.end());
    }
    return stream;
}

struct EncryptedFixture {
    const char *file;
    Scheme scheme;
    unsigned keyBits;
    const char *reference;
};

const EncryptedFixture encryptedFixtures[] = {
    {"small_enc.xls", Scheme::Rc4Md5, 40, "rc4_workbook_ms.bin"},
    {"small_rc4_1.1.xls", Scheme::Rc4Md5, 40, "rc4_workbook_ms.bin"},
    {"small_cryptoapi_2.2_128bit.xls", Scheme::CryptoApi, 128, "cryptoapi_workbook_ms.bin"},
    {"small_cryptoapi_3.2_128bit.xls", Scheme::CryptoApi, 128, "cryptoapi_workbook_ms.bin"},
    {"small_cryptoapi_4.2_128bit.xls", Scheme::CryptoApi, 128, "cryptoapi_workbook_ms.bin"},
    {"small_cryptoapi_4.2_40bit.xls", Scheme::CryptoApi, 40, "cryptoapi_workbook_ms.bin"},
};

} // namespace

TEST(Rc4Cipher, DecryptsEveryFixtureSchemeToTheReferenceStream)
{
    for (const EncryptedFixture &f : encryptedFixtures) {
        SCOPED_TRACE(f.file);
        Bytes stream = workbookStream(fixture(f.file));
        const Rc4Cipher cipher = Rc4Cipher::fromFilepass(findFilepassRecord(stream).body, password);
        EXPECT_EQ(f.scheme, cipher.scheme());
        EXPECT_EQ(f.keyBits, cipher.keyBits());
        cipher.decryptStream(stream);
        EXPECT_EQ(readFile(testData(f.reference)), msoffcryptoLayout(stream));
    }
}

TEST(Rc4Cipher, NewFilepassBodiesHaveTheLayoutOtherReadersExpect)
{
    const Bytes rc4 = Rc4Cipher::newFilepass(Scheme::Rc4Md5, password);
    ASSERT_EQ(54u, rc4.size());
    EXPECT_EQ((Bytes{1, 0, 1, 0, 1, 0}), Bytes(rc4.begin(), rc4.begin() + 6));

    const Bytes capi = Rc4Cipher::newFilepass(Scheme::CryptoApi, password);
    ASSERT_EQ(200u, capi.size());
    EXPECT_EQ((Bytes{1, 0, 4, 0, 2, 0, 0x0C, 0, 0, 0, 126, 0, 0, 0}), Bytes(capi.begin(), capi.begin() + 14));
    // RC4, SHA-1, 128-bit key; salt and verifier hash sizes.
    EXPECT_EQ((std::vector<int>{0x6801, 0x8004, 128, 16, 20}),
              (std::vector<int>{le16(capi, 22), le16(capi, 26), le16(capi, 30), le16(capi, 140), le16(capi, 176)}));
    const std::string csp = "Microsoft Enhanced Cryptographic Provider v1.0";
    for (std::size_t i = 0; i < csp.size(); ++i)
        ASSERT_EQ(csp[i], capi[46 + 2 * i]) << i;

    // A fresh salt each time.
    const Bytes rc4Again = Rc4Cipher::newFilepass(Scheme::Rc4Md5, password);
    const Bytes capiAgain = Rc4Cipher::newFilepass(Scheme::CryptoApi, password);
    EXPECT_FALSE(std::equal(rc4.begin() + 6, rc4.begin() + 22, rc4Again.begin() + 6));
    EXPECT_FALSE(std::equal(capi.begin() + 144, capi.begin() + 160, capiAgain.begin() + 144));
}

TEST(Rc4Cipher, EncryptThenDecryptGivesTheStreamBackForBothSchemes)
{
    for (Scheme scheme : {Scheme::Rc4Md5, Scheme::CryptoApi}) {
        SCOPED_TRACE(int(scheme));
        const Bytes filepass = Rc4Cipher::newFilepass(scheme, password);
        const Rc4Cipher cipher = Rc4Cipher::fromFilepass(filepass, password);
        EXPECT_EQ(scheme, cipher.scheme());
        EXPECT_THROW(Rc4Cipher::fromFilepass(filepass, u"other"), Error);

        const Bytes plain = sampleStream(filepass, 5000);
        Bytes stream = plain;
        cipher.encryptStream(stream);
        EXPECT_NE(plain, stream);
        // BOF and FILEPASS stay readable, so a reader can find the FILEPASS.
        EXPECT_EQ(filepass, findFilepassRecord(stream).body);
        EXPECT_TRUE(std::equal(plain.begin(), plain.begin() + 20, stream.begin()));
        cipher.decryptStream(stream);
        EXPECT_EQ(plain, stream);
    }
}

TEST(Rc4Cipher, KeepsHeadersAndClearBodiesAndEncryptsTheRest)
{
    const Bytes filepass = Rc4Cipher::newFilepass(Scheme::Rc4Md5, password);
    Bytes plain = record(0x0809, filler(16, 3));
    for (const Bytes &r : {record(0x002F, filepass), record(0x00E1, {0xB0, 0x04}), record(0x0085, filler(12, 9)),
                           record(0x00FC, filler(40, 5)), record(0x0196, filler(10, 4))})
        plain.insert(plain.end(), r.begin(), r.end());
    Bytes stream = plain;
    Rc4Cipher::fromFilepass(filepass, password).encryptStream(stream);

    const std::size_t boundsheet = 20 + 58 + 6;
    auto same = [&](std::size_t from, std::size_t to) {
        return std::equal(plain.begin() + long(from), plain.begin() + long(to), stream.begin() + long(from));
    };
    EXPECT_TRUE(same(0, boundsheet + 8));                           // BOF, FILEPASS, INTERFACEHDR, lbPlyPos
    EXPECT_FALSE(same(boundsheet + 8, boundsheet + 16));            // rest of BOUNDSHEET
    EXPECT_TRUE(same(boundsheet + 16, boundsheet + 20));            // SST header
    EXPECT_FALSE(same(boundsheet + 20, boundsheet + 60));           // SST body
    EXPECT_TRUE(same(boundsheet + 60, plain.size()));               // RRDINFO
}

TEST(Rc4Cipher, ALargeStreamSplitAcrossThreadsMatchesAByteByByteReference)
{
    const Bytes filepass = Rc4Cipher::newFilepass(Scheme::Rc4Md5, password);
    const Bytes plain = sampleStream(filepass, 3'000'000);
    Bytes stream = plain;
    Rc4Cipher::fromFilepass(filepass, password).encryptStream(stream);

    // Key of block b: MD5(H1[0:5] + LE32(b)), H1 = MD5((MD5(password)[0:5] + salt) x 16).
    std::uint8_t h0[16], h1[16];
    md5_ctx md5;
    md5_init(&md5);
    for (char16_t c : password) {
        const std::uint8_t le[2] = {std::uint8_t(c), std::uint8_t(c >> 8)};
        md5_update(&md5, 2, le);
    }
    md5_digest(&md5, 16, h0);
    md5_init(&md5);
    for (int i = 0; i < 16; ++i) {
        md5_update(&md5, 5, h0);
        md5_update(&md5, 16, filepass.data() + 6);
    }
    md5_digest(&md5, 16, h1);

    std::vector<bool> clear(plain.size(), false);
    for (std::size_t pos = 0; pos < plain.size();) {
        const std::uint16_t type = le16(plain, pos), length = le16(plain, pos + 2);
        std::size_t clearBytes = 4;
        if (type == 0x0809 || type == 0x002F || type == 0x00E1 || type == 0x0138)
            clearBytes += length;
        else if (type == 0x0085)
            clearBytes += std::min<std::size_t>(length, 4);
        std::fill_n(clear.begin() + long(pos), clearBytes, true);
        pos += 4 + length;
    }
    std::size_t mismatches = 0;
    for (std::size_t block = 0; block * 1024 < plain.size(); ++block) {
        std::uint8_t key[16];
        const std::uint8_t counter[4] = {std::uint8_t(block), std::uint8_t(block >> 8), std::uint8_t(block >> 16), 0};
        md5_init(&md5);
        md5_update(&md5, 5, h1);
        md5_update(&md5, 4, counter);
        md5_digest(&md5, 16, key);
        arcfour_ctx rc4;
        arcfour_set_key(&rc4, 16, key);
        std::uint8_t keystream[1024] = {};
        arcfour_crypt(&rc4, 1024, keystream, keystream);
        for (std::size_t i = 0; i < 1024 && block * 1024 + i < plain.size(); ++i) {
            const std::size_t p = block * 1024 + i;
            const std::uint8_t expected = clear[p] ? plain[p] : std::uint8_t(plain[p] ^ keystream[i]);
            mismatches += stream[p] != expected;
        }
    }
    EXPECT_EQ(0u, mismatches);
}

TEST(Rc4Cipher, RejectsFilepassBodiesItCannotUse)
{
    const Bytes rc4 = Rc4Cipher::newFilepass(Scheme::Rc4Md5, password);
    const Bytes capi = Rc4Cipher::newFilepass(Scheme::CryptoApi, password);
    auto patched = [](Bytes body, std::size_t at, std::initializer_list<std::uint8_t> bytes) {
        std::copy(bytes.begin(), bytes.end(), body.begin() + long(at));
        return body;
    };
    struct Case {
        const char *what;
        Bytes body;
        ErrorKind kind;
    };
    const Case cases[] = {
        {"unknown encryption type", patched(rc4, 0, {2, 0}), ErrorKind::Unsupported},
        {"RC4 version 1.2", patched(rc4, 2, {1, 0, 2, 0}), ErrorKind::Unsupported},
        {"AES version 4.4", patched(capi, 2, {4, 0, 4, 0}), ErrorKind::Unsupported},
        {"AES algorithm", patched(capi, 22, {0x0E, 0x66}), ErrorKind::Unsupported},
        {"MD5 hash in CryptoAPI", patched(capi, 26, {0x03, 0x80}), ErrorKind::Unsupported},
        {"a 256-bit key", patched(capi, 30, {0x00, 0x01}), ErrorKind::Unsupported},
        {"one byte", {1}, ErrorKind::Damaged},
        {"RC4 body cut short", Bytes(rc4.begin(), rc4.begin() + 53), ErrorKind::Damaged},
        {"CryptoAPI body cut short", Bytes(capi.begin(), capi.begin() + 199), ErrorKind::Damaged},
        {"CryptoAPI header size past the end", patched(capi, 10, {0xFF, 0xFF, 0xFF, 0xFF}), ErrorKind::Damaged},
        {"CryptoAPI header size too small", patched(capi, 10, {4, 0, 0, 0}), ErrorKind::Damaged},
        {"salt size not 16", patched(capi, 140, {8}), ErrorKind::Damaged},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        try {
            Rc4Cipher::fromFilepass(c.body, password);
            ADD_FAILURE() << "accepted";
        } catch (const Error &e) {
            EXPECT_EQ(c.kind, e.kind());
            EXPECT_TRUE(looksItalian(e.what())) << e.what();
        }
    }
}

TEST(Rc4Cipher, ReportsARecordRunningPastTheEndWithItsIdAndOffset)
{
    const Bytes filepass = Rc4Cipher::newFilepass(Scheme::Rc4Md5, password);
    const Rc4Cipher cipher = Rc4Cipher::fromFilepass(filepass, password);
    // A small stream is done on one thread, a large one on two: both check every record.
    for (std::size_t size : {3000, 1'000'000}) {
        SCOPED_TRACE(size);
        Bytes stream = sampleStream(filepass, size);
        const std::size_t at = stream.size();
        const Bytes cut = record(0x00FD, filler(10, 0));
        stream.insert(stream.end(), cut.begin(), cut.end() - 3);
        try {
            cipher.decryptStream(stream);
            ADD_FAILURE() << "accepted";
        } catch (const Error &e) {
            EXPECT_EQ(ErrorKind::Damaged, e.kind());
            EXPECT_NE(std::string::npos, std::string(e.what()).find("0x00FD")) << e.what();
            EXPECT_NE(std::string::npos, std::string(e.what()).find(std::to_string(at))) << e.what();
        }
    }

    // Fewer bytes than a record header at the end are padding, not a record.
    Bytes padded = sampleStream(filepass, 3000);
    padded.insert(padded.end(), {0, 0});
    const Bytes original = padded;
    cipher.encryptStream(padded);
    cipher.decryptStream(padded);
    EXPECT_EQ(original, padded);
}
