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

void addRecord(Bytes &stream, std::uint16_t type, std::size_t size, std::uint8_t seed)
{
    stream.insert(stream.end(), {std::uint8_t(type), std::uint8_t(type >> 8), std::uint8_t(size), std::uint8_t(size >> 8)});
    for (std::size_t i = 0; i < size; ++i)
        stream.push_back(std::uint8_t(seed + i * 7));
}

// A plain stream: BOF, FILEPASS, then records of many sizes, among them every kind that stays
// in clear (BOF, INTERFACEHDR, USREXCL, FILELOCK, RRDINFO, RRDHEAD, the start of BOUNDSHEET).
Bytes sampleStream(const Bytes &filepass, std::size_t minimumSize)
{
    Bytes stream;
    addRecord(stream, 0x0809, 16, 1);
    stream.insert(stream.end(), {0x2F, 0x00, std::uint8_t(filepass.size()), 0});
    stream.insert(stream.end(), filepass.begin(), filepass.end());
    static const std::uint16_t types[] = {0x00FD, 0x0085, 0x00E1, 0x0809, 0x00FC, 0x0194, 0x0195, 0x0196, 0x0138};
    for (std::size_t i = 0; stream.size() < minimumSize; ++i)
        addRecord(stream, types[i % std::size(types)], (i * 37) % 1100, std::uint8_t(i));
    return stream;
}

// Which bytes of a plain stream the cipher leaves as they are.
std::vector<bool> clearBytes(const Bytes &plain)
{
    std::vector<bool> clear(plain.size(), false);
    for (std::size_t pos = 0; pos < plain.size();) {
        const std::uint16_t type = le16(plain, pos), length = le16(plain, pos + 2);
        std::size_t count = 4;
        for (std::uint16_t whole : {0x0809, 0x002F, 0x00E1, 0x0194, 0x0195, 0x0196, 0x0138})
            count += type == whole ? length : 0;
        count += type == 0x0085 ? std::min<std::size_t>(length, 4) : 0;
        std::fill_n(clear.begin() + long(pos), count, true);
        pos += 4 + length;
    }
    return clear;
}

void md5(const Bytes &data, std::uint8_t *digest)
{
    md5_ctx ctx;
    md5_init(&ctx);
    md5_update(&ctx, data.size(), data.data());
    md5_digest(&ctx, 16, digest);
}

} // namespace

// Block b is RC4 keyed with MD5(H1[0:5] + LE32(b)), H1 = MD5((MD5(password)[0:5] + salt) x 16);
// byte p of the stream takes byte p mod 1024 of its block's keystream, unless it stays in
// clear. A large stream is done on two threads; this checks every byte of it.
TEST(Rc4Cipher, EncryptsEveryByteByItsOffsetAsAByteByByteReferenceDoes)
{
    const Bytes filepass = Rc4Cipher::newFilepass(Scheme::Rc4Md5, password);
    const Bytes plain = sampleStream(filepass, 3'000'000);
    Bytes stream = plain;
    Rc4Cipher::fromFilepass(filepass, password).encryptStream(stream);

    Bytes utf16;
    for (char16_t c : password)
        utf16.insert(utf16.end(), {std::uint8_t(c), std::uint8_t(c >> 8)});
    std::uint8_t h0[16], h1[16];
    md5(utf16, h0);
    Bytes repeated;
    for (int i = 0; i < 16; ++i) {
        repeated.insert(repeated.end(), h0, h0 + 5);
        repeated.insert(repeated.end(), filepass.begin() + 6, filepass.begin() + 22);
    }
    md5(repeated, h1);

    const std::vector<bool> clear = clearBytes(plain);
    std::size_t mismatches = 0;
    for (std::size_t block = 0; block * 1024 < plain.size(); ++block) {
        std::uint8_t key[16], keystream[1024] = {};
        md5({h1[0], h1[1], h1[2], h1[3], h1[4], std::uint8_t(block), std::uint8_t(block >> 8), std::uint8_t(block >> 16), 0}, key);
        arcfour_ctx rc4;
        arcfour_set_key(&rc4, 16, key);
        arcfour_crypt(&rc4, 1024, keystream, keystream);
        for (std::size_t p = block * 1024; p < std::min(plain.size(), (block + 1) * 1024); ++p)
            mismatches += stream[p] != (clear[p] ? plain[p] : std::uint8_t(plain[p] ^ keystream[p % 1024]));
    }
    EXPECT_EQ(0u, mismatches);
    Rc4Cipher::fromFilepass(filepass, password).decryptStream(stream);
    EXPECT_EQ(plain, stream);
}

TEST(Rc4Cipher, RejectsFilepassBodiesItCannotUse)
{
    const Bytes rc4 = Rc4Cipher::newFilepass(Scheme::Rc4Md5, password);
    const Bytes capi = Rc4Cipher::newFilepass(Scheme::CryptoApi, password);
    auto patched = [](Bytes body, std::size_t at, std::initializer_list<std::uint8_t> bytes) {
        std::copy(bytes.begin(), bytes.end(), body.begin() + long(at));
        return body;
    };
    const std::tuple<const char *, Bytes, ErrorKind> cases[] = {
        {"XOR obfuscation", {0x00, 0x00, 0x34, 0x12, 0x78, 0x56}, ErrorKind::Unsupported},
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
    for (const auto &[what, body, kind] : cases) {
        const Error e = thrown([&] { Rc4Cipher::fromFilepass(body, password); });
        EXPECT_EQ(kind, e.kind()) << what;
        EXPECT_EQ(e.record(), 0x002F) << what;
    }
}

TEST(Rc4Cipher, ReportsARecordRunningPastTheEndWithItsIdAndOffset)
{
    const Bytes filepass = Rc4Cipher::newFilepass(Scheme::Rc4Md5, password);
    const Rc4Cipher cipher = Rc4Cipher::fromFilepass(filepass, password);
    // A large stream is done on two threads; the second checks its records too. (A small
    // stream cut inside a record is among the broken files the whole file layer reports.)
    Bytes stream = sampleStream(filepass, 1'000'000);
    const std::size_t at = stream.size();
    addRecord(stream, 0x00FD, 10, 0);
    stream.resize(stream.size() - 3);
    const Error e = thrown([&] { cipher.decryptStream(stream); });
    EXPECT_EQ(std::make_tuple(e.kind(), e.record(), e.offset()),
              std::make_tuple(ErrorKind::Damaged, std::optional<std::uint16_t>(0x00FD), std::optional<std::size_t>(at)));

    // Fewer bytes than a record header at the end are padding, not a record.
    Bytes padded = sampleStream(filepass, 3000);
    padded.insert(padded.end(), {0, 0});
    const Bytes original = padded;
    cipher.encryptStream(padded);
    cipher.decryptStream(padded);
    EXPECT_EQ(original, padded);
}
