#pragma once

#include "Bytes.h"

#include <span>
#include <string>
#include <string_view>

// The two RC4 schemes of the .xls "password to open": RC4 with MD5 (FILEPASS 1.1) and
// RC4 CryptoAPI with SHA-1 (2.2/3.2/4.2). The keystream depends on the absolute stream offset
// in 1024-byte blocks; record headers and the bodies of BOF, FILEPASS, INTERFACEHDR, USREXCL,
// FILELOCK, RRDINFO, RRDHEAD and the first 4 bytes of BOUNDSHEET stay in clear.
namespace xls {

enum class Scheme { Rc4Md5, CryptoApi };

class Rc4Cipher {
public:
    // Parses a FILEPASS body and checks the password. Throws Error(WrongPassword) when the
    // verifier does not match, Error(Unsupported) for XOR obfuscation or an unknown version,
    // Error(Damaged) for a body too short for its header.
    static Rc4Cipher fromFilepass(std::span<const std::uint8_t> filepassBody, std::u16string_view password);
    // A new FILEPASS body with a fresh random salt: RC4 1.1, or CryptoAPI 4.2 with a 128-bit
    // key from the "Microsoft Enhanced Cryptographic Provider v1.0", document properties not
    // encrypted (fDocProps set: the other streams are written as read).
    static Bytes newFilepass(Scheme scheme, std::u16string_view password);

    Scheme scheme() const { return scheme_; }
    // Decrypt or encrypt a whole Workbook stream in place, walking its records, on two
    // threads when it is large (StreamCrypt). A record running past the end throws
    // Error(Damaged) before any byte is changed.
    void decryptStream(Bytes &stream) const;
    void encryptStream(Bytes &stream) const;

    // Crypts [begin, end) in place; `begin` is a record boundary and no record runs past
    // `end`, which the caller has checked.
    void cryptRange(std::span<std::uint8_t> stream, std::size_t begin, std::size_t end) const;

private:
    std::size_t blockKey(std::uint32_t block, std::uint8_t *key) const;

    Scheme scheme_ = Scheme::Rc4Md5;
    Bytes keyBase_;          // H1[0:5] (RC4) or H0 (CryptoAPI)
    unsigned keyBits_ = 128; // CryptoAPI key length; RC4 1.1 keys carry 40 bits
};

} // namespace xls
