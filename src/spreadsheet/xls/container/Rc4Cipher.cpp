#include "Rc4Cipher.h"

#include "Error.h"
#include "SystemError.h"
#include "LittleEndian.h"
#include "StreamCrypt.h"

#include <nettle/md5.h>
#include <nettle/sha1.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <sys/random.h>
#include <string_view>

namespace xls {

namespace {

constexpr std::size_t blockSize = 1024;

constexpr std::size_t rc4BodySize = 54;
constexpr std::size_t cryptoApiFixedSize = 14;   // up to EncryptionHeaderSize
constexpr std::size_t cryptoApiHeaderMin = 32;   // EncryptionHeader without CSP name
constexpr std::size_t cryptoApiVerifierSize = 60;
constexpr std::uint32_t flagCryptoApi = 0x04, flagDocProps = 0x08, flagAes = 0x20;
constexpr std::uint32_t algRc4 = 0x6801, algSha1 = 0x8004;
constexpr std::uint16_t filepassRecord = 0x002F;
constexpr std::u16string_view cspName = u"Microsoft Enhanced Cryptographic Provider v1.0";

void put16(Bytes &out, std::uint16_t v)
{
    out.push_back(std::uint8_t(v));
    out.push_back(std::uint8_t(v >> 8));
}

void put32(Bytes &out, std::uint32_t v)
{
    put16(out, std::uint16_t(v));
    put16(out, std::uint16_t(v >> 16));
}

Bytes utf16le(std::u16string_view text)
{
    Bytes out;
    out.reserve(text.size() * 2);
    for (char16_t c : text)
        put16(out, c);
    return out;
}

// Records whose bodies stay in clear, wholly or (BOUNDSHEET's stream position) in part.
std::size_t clearLength(std::uint16_t type, std::uint16_t length)
{
    switch (type) {
    case 0x0809: // BOF
    case 0x002F: // FILEPASS
    case 0x00E1: // INTERFACEHDR
    case 0x0194: // USREXCL
    case 0x0195: // FILELOCK
    case 0x0196: // RRDINFO
    case 0x0138: // RRDHEAD
        return length;
    case 0x0085: // BOUNDSHEET
        return std::min<std::size_t>(length, 4);
    default:
        return 0;
    }
}

// RC4 itself, for the verifier.
class Rc4 {
public:
    Rc4(const std::uint8_t *key, std::size_t size)
    {
        for (int i = 0; i < 256; ++i)
            s_[i] = std::uint8_t(i);
        std::uint8_t j = 0;
        for (std::size_t i = 0, k = 0; i < 256; ++i) {
            const std::uint8_t t = s_[i];
            j = std::uint8_t(j + t + key[k]);
            k = k + 1 == size ? 0 : k + 1;
            s_[i] = s_[j];
            s_[j] = t;
        }
    }

    std::uint8_t next()
    {
        const std::uint8_t si = s_[++i_];
        j_ = std::uint8_t(j_ + si);
        const std::uint8_t sj = s_[j_];
        s_[i_] = sj;
        s_[j_] = si;
        return s_[std::uint8_t(si + sj)];
    }
    void crypt(std::uint8_t *out, const std::uint8_t *in, std::size_t n)
    {
        for (std::size_t k = 0; k < n; ++k)
            out[k] = in[k] ^ next();
    }

private:
    std::uint8_t s_[256];
    std::uint8_t i_ = 0, j_ = 0;
};

// The whole keystreams of several blocks, each under its own key (all of one length). Both
// schemes key RC4 anew for every 1024-byte block; one RC4 is a long chain of steps that wait
// for each other, and several independent chains interleaved keep the processor busy: four
// at once run about twice as fast as one after the other.
template <std::size_t Lanes>
void blockKeystreams(const std::uint8_t (*keys)[SHA1_DIGEST_SIZE], std::size_t keySize,
                     std::uint8_t (*out)[blockSize])
{
    std::uint8_t s[Lanes][256];
    for (std::size_t q = 0; q < Lanes; ++q)
        for (int i = 0; i < 256; ++i)
            s[q][i] = std::uint8_t(i);
    std::uint8_t j[Lanes] = {};
    for (std::size_t i = 0, k = 0; i < 256; ++i, k = k + 1 == keySize ? 0 : k + 1) {
        for (std::size_t q = 0; q < Lanes; ++q) {
            const std::uint8_t t = s[q][i];
            j[q] = std::uint8_t(j[q] + t + keys[q][k]);
            s[q][i] = s[q][j[q]];
            s[q][j[q]] = t;
        }
    }
    std::fill(j, j + Lanes, 0);
    std::uint8_t i = 0;
    for (std::size_t n = 0; n < blockSize; ++n) {
        ++i;
        for (std::size_t q = 0; q < Lanes; ++q) {
            const std::uint8_t si = s[q][i];
            j[q] = std::uint8_t(j[q] + si);
            const std::uint8_t sj = s[q][j[q]];
            s[q][i] = sj;
            s[q][j[q]] = si;
            out[q][n] = s[q][std::uint8_t(si + sj)];
        }
    }
}

std::string hex4(unsigned value)
{
    char text[8];
    std::snprintf(text, sizeof text, "0x%04X", value & 0xFFFF);
    return text;
}

[[noreturn]] void filepassDamaged(std::size_t size, std::size_t minimum)
{
    throw Error(ErrorKind::Damaged, filepassRecord, std::nullopt,
                "lunghezza " + std::to_string(size) + " inferiore al minimo " + std::to_string(minimum));
}

[[noreturn]] void unsupported(const std::string &what)
{
    throw Error(ErrorKind::Unsupported, filepassRecord, std::nullopt,
                "protezione con " + what + ": schema di protezione non supportato");
}

[[noreturn]] void wrongPassword()
{
    throw Error(ErrorKind::WrongPassword, "la password non è corretta");
}

void md5(std::span<const std::uint8_t> data, std::uint8_t *digest)
{
    md5_ctx ctx;
    md5_init(&ctx);
    md5_update(&ctx, data.size(), data.data());
    md5_digest(&ctx, MD5_DIGEST_SIZE, digest);
}

void sha1(std::span<const std::uint8_t> a, std::span<const std::uint8_t> b, std::uint8_t *digest)
{
    sha1_ctx ctx;
    sha1_init(&ctx);
    sha1_update(&ctx, a.size(), a.data());
    sha1_update(&ctx, b.size(), b.data());
    sha1_digest(&ctx, SHA1_DIGEST_SIZE, digest);
}

void randomBytes(std::uint8_t *out, std::size_t size)
{
    while (size > 0) {
        const ssize_t got = ::getrandom(out, size, 0);
        if (got < 0) {
            if (errno == EINTR)
                continue;
            throw Error(ErrorKind::Io, "impossibile generare dati casuali per la cifratura: " +
                                           systemErrorText(errno));
        }
        out += got;
        size -= std::size_t(got);
    }
}

// RC4 1.1: H1[0:5] from MD5(password) and the salt.
Bytes rc4KeyBase(std::span<const std::uint8_t> salt, std::u16string_view password)
{
    std::uint8_t h0[MD5_DIGEST_SIZE];
    md5(utf16le(password), h0);
    Bytes repeated;
    repeated.reserve(16 * (5 + salt.size()));
    for (int i = 0; i < 16; ++i) {
        repeated.insert(repeated.end(), h0, h0 + 5);
        repeated.insert(repeated.end(), salt.begin(), salt.end());
    }
    std::uint8_t h1[MD5_DIGEST_SIZE];
    md5(repeated, h1);
    return Bytes(h1, h1 + 5);
}

Bytes cryptoApiKeyBase(std::span<const std::uint8_t> salt, std::u16string_view password)
{
    Bytes h0(SHA1_DIGEST_SIZE);
    sha1(salt, utf16le(password), h0.data());
    return h0;
}

// What a FILEPASS body gives: the scheme, the password's key material and the verifier
// (EncryptedVerifier, then EncryptedVerifierHash) that proves the password.
struct FilepassKey {
    Scheme scheme = Scheme::Rc4Md5;
    unsigned keyBits = 40;
    Bytes keyBase;
    std::uint8_t verifier[16 + SHA1_DIGEST_SIZE] = {};
    std::size_t hashSize = 0;
};

FilepassKey rc4Filepass(std::span<const std::uint8_t> body, std::u16string_view password)
{
    if (body.size() < rc4BodySize)
        filepassDamaged(body.size(), rc4BodySize);
    FilepassKey parsed;
    parsed.keyBase = rc4KeyBase(body.subspan(6, 16), password);
    parsed.hashSize = MD5_DIGEST_SIZE;
    std::memcpy(parsed.verifier, body.data() + 22, 16 + parsed.hashSize);
    return parsed;
}

// The EncryptionHeader's algorithms and key size, checked; the key size in bits.
unsigned cryptoApiKeyBits(const std::uint8_t *header)
{
    const std::uint32_t flags = le32(header), algorithm = le32(header + 8), hash = le32(header + 12);
    std::uint32_t keyBits = le32(header + 16);
    if (keyBits == 0)
        keyBits = 40;
    if ((flags & flagAes) || (algorithm != algRc4 && algorithm != 0))
        unsupported("l'algoritmo di cifratura " + hex4(algorithm));
    if (hash != algSha1 && hash != 0)
        unsupported("l'algoritmo di hash " + hex4(hash));
    if (keyBits < 40 || keyBits > 128 || keyBits % 8 != 0)
        unsupported("una chiave di " + std::to_string(keyBits) + " bit");
    return keyBits;
}

FilepassKey cryptoApiFilepass(std::span<const std::uint8_t> body, std::u16string_view password)
{
    if (body.size() < cryptoApiFixedSize)
        filepassDamaged(body.size(), cryptoApiFixedSize);
    const std::uint64_t headerSize = le32(body.data() + 10);
    if (headerSize < cryptoApiHeaderMin || cryptoApiFixedSize + headerSize + cryptoApiVerifierSize > body.size())
        filepassDamaged(body.size(), cryptoApiFixedSize + std::max<std::uint64_t>(headerSize, cryptoApiHeaderMin) +
                                         cryptoApiVerifierSize);
    const std::uint8_t *header = body.data() + cryptoApiFixedSize;
    FilepassKey parsed;
    parsed.scheme = Scheme::CryptoApi;
    parsed.keyBits = cryptoApiKeyBits(header);
    const std::uint8_t *tail = header + headerSize;
    if (le32(tail) != 16 || le32(tail + 36) != SHA1_DIGEST_SIZE)
        throw Error(ErrorKind::Damaged, filepassRecord, std::nullopt, "dimensioni di sale o verificatore non valide");
    parsed.keyBase = cryptoApiKeyBase({tail + 4, 16}, password);
    parsed.hashSize = SHA1_DIGEST_SIZE;
    std::memcpy(parsed.verifier, tail + 20, 16);
    std::memcpy(parsed.verifier + 16, tail + 40, parsed.hashSize);
    return parsed;
}

} // namespace

std::size_t Rc4Cipher::blockKey(std::uint32_t block, std::uint8_t *key) const
{
    const std::uint8_t counter[4] = {std::uint8_t(block), std::uint8_t(block >> 8), std::uint8_t(block >> 16),
                                     std::uint8_t(block >> 24)};
    if (scheme_ == Scheme::Rc4Md5) {
        md5_ctx ctx;
        md5_init(&ctx);
        md5_update(&ctx, keyBase_.size(), keyBase_.data());
        md5_update(&ctx, sizeof counter, counter);
        md5_digest(&ctx, MD5_DIGEST_SIZE, key);
        return MD5_DIGEST_SIZE;
    }
    sha1(keyBase_, counter, key);
    if (keyBits_ == 40) {
        // A 40-bit CryptoAPI key is used as 16 bytes, zero padded.
        std::fill(key + 5, key + 16, 0);
        return 16;
    }
    return keyBits_ / 8;
}

Rc4Cipher Rc4Cipher::fromFilepass(std::span<const std::uint8_t> body, std::u16string_view password)
{
    if (body.size() < 2)
        filepassDamaged(body.size(), 2);
    const std::uint16_t type = le16(body.data());
    if (type == 0)
        unsupported("l'offuscamento XOR di Excel");
    if (type != 1)
        unsupported("una cifratura sconosciuta (tipo " + std::to_string(type) + ")");
    if (body.size() < 6)
        filepassDamaged(body.size(), 6);
    const unsigned major = le16(body.data() + 2), minor = le16(body.data() + 4);
    FilepassKey parsed;
    if (major == 1 && minor == 1)
        parsed = rc4Filepass(body, password);
    else if (major >= 2 && major <= 4 && minor == 2)
        parsed = cryptoApiFilepass(body, password);
    else
        unsupported("la cifratura versione " + std::to_string(major) + "." + std::to_string(minor));

    Rc4Cipher cipher;
    cipher.scheme_ = parsed.scheme;
    cipher.keyBits_ = parsed.keyBits;
    cipher.keyBase_ = std::move(parsed.keyBase);
    std::uint8_t key[SHA1_DIGEST_SIZE];
    Rc4 rc4(key, cipher.blockKey(0, key));
    std::uint8_t plain[16 + SHA1_DIGEST_SIZE];
    rc4.crypt(plain, parsed.verifier, 16 + parsed.hashSize);
    std::uint8_t expected[SHA1_DIGEST_SIZE];
    if (cipher.scheme_ == Scheme::Rc4Md5)
        md5({plain, 16}, expected);
    else
        sha1({plain, 16}, {}, expected);
    if (std::memcmp(expected, plain + 16, parsed.hashSize) != 0)
        wrongPassword();
    return cipher;
}

Bytes Rc4Cipher::newFilepass(Scheme scheme, std::u16string_view password)
{
    std::uint8_t salt[16], plain[16 + SHA1_DIGEST_SIZE];
    randomBytes(salt, sizeof salt);
    randomBytes(plain, 16);

    Rc4Cipher cipher;
    cipher.scheme_ = scheme;
    Bytes body;
    put16(body, 1);
    std::size_t hashSize = 0;
    if (scheme == Scheme::Rc4Md5) {
        cipher.keyBits_ = 40;
        cipher.keyBase_ = rc4KeyBase(salt, password);
        put16(body, 1);
        put16(body, 1);
        md5({plain, 16}, plain + 16);
        hashSize = MD5_DIGEST_SIZE;
    } else {
        cipher.keyBits_ = 128;
        cipher.keyBase_ = cryptoApiKeyBase(salt, password);
        const std::uint32_t flags = flagCryptoApi | flagDocProps;
        const std::uint32_t headerSize = std::uint32_t(cryptoApiHeaderMin + (cspName.size() + 1) * 2);
        put16(body, 4);
        put16(body, 2);
        put32(body, flags);
        put32(body, headerSize);
        for (std::uint32_t v : {flags, 0u, algRc4, algSha1, 128u, 1u, 0u, 0u})
            put32(body, v);
        const Bytes name = utf16le(cspName);
        body.insert(body.end(), name.begin(), name.end());
        put16(body, 0);
        put32(body, 16);
        sha1({plain, 16}, {}, plain + 16);
        hashSize = SHA1_DIGEST_SIZE;
    }
    body.insert(body.end(), salt, salt + 16);

    std::uint8_t key[SHA1_DIGEST_SIZE];
    Rc4 rc4(key, cipher.blockKey(0, key));
    std::uint8_t encrypted[16 + SHA1_DIGEST_SIZE];
    rc4.crypt(encrypted, plain, 16 + hashSize);
    body.insert(body.end(), encrypted, encrypted + 16);
    if (scheme == Scheme::CryptoApi)
        put32(body, SHA1_DIGEST_SIZE);
    body.insert(body.end(), encrypted + 16, encrypted + 16 + hashSize);
    return body;
}

// The keystreams of four blocks are generated at once, zeroed where bytes stay in clear, and
// XORed over their blocks. Ranges given to different threads share no byte.
void Rc4Cipher::cryptRange(std::span<std::uint8_t> stream, std::size_t begin, std::size_t end) const
{
    constexpr std::size_t lanes = 4;
    std::uint8_t *data = stream.data();
    std::uint8_t keys[lanes][SHA1_DIGEST_SIZE];
    std::uint8_t keystreams[lanes][blockSize];
    std::size_t record = begin, clearBegin = 0, clearEnd = 0;

    for (std::size_t group = begin - begin % blockSize; group < end; group += lanes * blockSize) {
        const std::size_t blocks = std::min(lanes, (end - group + blockSize - 1) / blockSize);
        std::size_t keySize = 0;
        for (std::size_t q = 0; q < blocks; ++q)
            keySize = blockKey(std::uint32_t(group / blockSize + q), keys[q]);
        if (blocks == lanes)
            blockKeystreams<lanes>(keys, keySize, keystreams);
        else
            for (std::size_t q = 0; q < blocks; ++q)
                blockKeystreams<1>(&keys[q], keySize, &keystreams[q]);

        for (std::size_t q = 0; q < blocks; ++q) {
            const std::size_t blockStart = group + q * blockSize;
            const std::size_t from = std::max(blockStart, begin), to = std::min(blockStart + blockSize, end);
            std::uint8_t *keystream = keystreams[q] + (from - blockStart);
            for (;;) {
                if (clearEnd > from && clearBegin < to) {
                    const std::size_t a = std::max(clearBegin, from) - from, b = std::min(clearEnd, to) - from;
                    if (b - a == 4) { // a record header: the common case, kept inline
                        constexpr std::uint32_t zero = 0;
                        std::memcpy(keystream + a, &zero, 4);
                    } else {
                        std::memset(keystream + a, 0, b - a);
                    }
                }
                if (clearEnd > to || record >= to || record + 4 > end)
                    break;
                const std::uint16_t type = le16(data + record), length = le16(data + record + 2);
                clearBegin = record;
                clearEnd = record + 4 + clearLength(type, length);
                record += 4 + std::size_t(length);
            }

            std::uint8_t *block = data + from;
            const std::size_t size = to - from;
            std::size_t i = 0;
            for (; i + 8 <= size; i += 8) {
                std::uint64_t word, mask;
                std::memcpy(&word, block + i, 8);
                std::memcpy(&mask, keystream + i, 8);
                word ^= mask;
                std::memcpy(block + i, &word, 8);
            }
            for (; i < size; ++i)
                block[i] ^= keystream[i];
        }
    }
}

void Rc4Cipher::decryptStream(Bytes &stream) const { StreamCrypt(*this, stream).finish(); }

void Rc4Cipher::encryptStream(Bytes &stream) const { StreamCrypt(*this, stream).finish(); }

} // namespace xls
