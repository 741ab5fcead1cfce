// Opens an .xls with its password and saves it again through the engine.
// Usage: xls_resave IN.xls PASSWORD OUT.xls
#include "XlsFile.h"

#include <iostream>

int main(int argc, char **argv)
{
    if (argc != 4) {
        std::cerr << "usage: xls_resave IN.xls PASSWORD OUT.xls\n";
        return 2;
    }
    try {
        const std::string ascii = argv[2];
        xls::saveXlsFile(xls::openXlsFile(argv[1], std::u16string(ascii.begin(), ascii.end())), argv[3]);
    } catch (const std::exception &e) {
        std::cerr << "xls_resave: " << e.what() << "\n";
        return 1;
    }
    return 0;
}
