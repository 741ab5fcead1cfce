// Re-encrypts an encrypted .xls with a fresh FILEPASS of the scheme it would be saved with,
// touching nothing else, so that an independent reader can check our encryption.
// Usage: xls_reencrypt IN.xls PASSWORD OUT.xls
#include "CompoundFile.h"
#include "Rc4Cipher.h"
#include "TestFiles.h"

#include <iostream>

using namespace xls;

int main(int argc, char **argv)
{
    try {
        const std::string ascii = argc == 4 ? argv[2] : throw std::invalid_argument("usage: xls_reencrypt IN.xls PASSWORD OUT.xls");
        const std::u16string password(ascii.begin(), ascii.end());
        const Container container = readContainer(test::readFile(argv[1]));
        Bytes stream = container.find("Workbook")->data;
        const test::FilepassAt old = test::findFilepassRecord(stream);
        const Rc4Cipher cipher = Rc4Cipher::fromFilepass(old.body, password);
        cipher.decryptStream(stream);
        const Bytes body = Rc4Cipher::newFilepass(cipher.scheme(), password);
        if (body.size() != old.body.size())
            throw std::length_error("the FILEPASS size changes");
        std::copy(body.begin(), body.end(), stream.begin() + long(old.offset) + 4);
        Rc4Cipher::fromFilepass(body, password).encryptStream(stream);
        writeContainer(container, argv[3], "Workbook", stream);
    } catch (const std::exception &e) {
        std::cerr << "xls_reencrypt: " << e.what() << "\n";
        return 1;
    }
    return 0;
}
