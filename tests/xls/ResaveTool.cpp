// Opens an .xls with its password and saves it again through the engine.
// Usage: xls_resave IN.xls PASSWORD OUT.xls
#include "XlsFile.h"

#include <iostream>

int main(int argc, char **argv)
{
    try {
        const std::string ascii = argc == 4 ? argv[2] : throw std::invalid_argument("usage: xls_resave IN.xls PASSWORD OUT.xls");
        xls::saveXlsFile(xls::openXlsFile(argv[1], std::u16string(ascii.begin(), ascii.end())), argv[3]);
    } catch (const std::exception &e) {
        std::cerr << "xls_resave: " << e.what() << "\n";
        return 1;
    }
    return 0;
}
