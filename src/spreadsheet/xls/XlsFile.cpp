#include "XlsFile.h"

#include "BiffReader.h"
#include "BiffWriter.h"
#include "spreadsheet/xls/container/Error.h"
#include "spreadsheet/xls/container/HugePages.h"
#include "spreadsheet/xls/container/StreamCrypt.h"
#include "spreadsheet/xls/container/SystemError.h"

#include <cerrno>
#include <fcntl.h>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>

namespace xls {

namespace {

// Excel encrypts with this password a file that has only a "password to modify"; it opens
// such files without asking, and so do we.
constexpr std::u16string_view excelDefaultPassword = u"VelvetSweatshop";

[[noreturn]] void cannotOpen(const std::string &path, int err)
{
    if (err == ENOENT)
        throw Error(ErrorKind::Io, "il file \"" + path + "\" non esiste");
    throw Error(ErrorKind::Io, "impossibile aprire il file \"" + path + "\": " + systemErrorText(err));
}

struct FileBuffer {
    std::unique_ptr<std::uint8_t[]> data;
    std::size_t size = 0;
};

// One read into an uninitialised buffer: the archive can be large and is parsed once.
FileBuffer readWholeFile(const std::string &path)
{
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        cannotOpen(path, errno);
    struct Closer {
        int fd;
        ~Closer() { ::close(fd); }
    } closer{fd};

    struct stat st {};
    if (::fstat(fd, &st) != 0)
        cannotOpen(path, errno);
    if (S_ISDIR(st.st_mode))
        throw Error(ErrorKind::Io, "\"" + path + "\": " + systemErrorText(EISDIR));
    if (!S_ISREG(st.st_mode))
        throw Error(ErrorKind::Io, "\"" + path + "\" non è un file");

    FileBuffer buffer;
    buffer.data.reset(new std::uint8_t[std::size_t(st.st_size) + 1]);
    preferHugePages(buffer.data.get(), std::size_t(st.st_size));
    while (buffer.size < std::size_t(st.st_size)) {
        const ssize_t got = ::read(fd, buffer.data.get() + buffer.size, std::size_t(st.st_size) - buffer.size);
        if (got < 0) {
            if (errno == EINTR)
                continue;
            cannotOpen(path, errno);
        }
        if (got == 0)
            break; // the file shrank meanwhile: parse what is there
        buffer.size += std::size_t(got);
    }
    return buffer;
}

Rc4Cipher unlock(std::span<const std::uint8_t> filepass, std::u16string_view password, std::u16string &used)
{
    try {
        Rc4Cipher cipher = Rc4Cipher::fromFilepass(filepass, password);
        used = password;
        return cipher;
    } catch (const Error &error) {
        if (error.kind() != ErrorKind::WrongPassword || password == excelDefaultPassword)
            throw;
        try {
            Rc4Cipher cipher = Rc4Cipher::fromFilepass(filepass, excelDefaultPassword);
            used = excelDefaultPassword;
            return cipher;
        } catch (const Error &) {
        }
        throw;
    }
}

XlsFile openContainer(Container container, std::u16string_view password)
{
    StorageEntry *workbook = container.find("Workbook");
    if (!workbook || workbook->isStorage) {
        const StorageEntry *book = container.find("Book");
        if (book && !book->isStorage)
            throw Error(ErrorKind::NotAWorkbook, "cartella di lavoro di Excel 5.0/95, formato non supportato: "
                                                 "salvarla come cartella di lavoro di Excel 97-2003");
        throw Error(ErrorKind::NotAWorkbook,
                    "il contenitore OLE2 non ha il flusso \"Workbook\": non è una cartella di lavoro di Excel");
    }

    XlsFile file;
    Bytes stream = std::move(workbook->data);
    workbook->data = Bytes();
    const Bytes filepass = findFilepass(stream);
    if (filepass.empty()) {
        file.book = readWorkbookStream(stream);
    } else {
        const Rc4Cipher cipher = unlock(filepass, password, file.password);
        StreamCrypt decryption(cipher, stream);
        file.book = readWorkbookStream(stream, &decryption);
        file.scheme = cipher.scheme();
    }
    file.container = std::move(container);
    return file;
}

} // namespace

XlsFile openXls(std::span<const std::uint8_t> bytes, std::u16string_view password)
{
    return openContainer(readContainer(bytes), password);
}

XlsFile openXlsFile(const std::string &path, std::u16string_view password)
{
    Container container;
    {
        const FileBuffer buffer = readWholeFile(path);
        container = readContainer({buffer.data.get(), buffer.size});
    }
    return openContainer(std::move(container), password);
}

XlsFile newXlsFile(Book book, std::u16string_view password)
{
    XlsFile file;
    file.book = std::move(book);
    file.container.clsid = excelClsid;
    file.container.entries.emplace_back().name = "Workbook";
    if (!password.empty()) {
        file.scheme = Scheme::Rc4Md5;
        file.password = password;
    }
    return file;
}

void saveXlsFile(const XlsFile &file, const std::string &path, SaveMode mode)
{
    Bytes filepass;
    if (file.scheme)
        filepass = Rc4Cipher::newFilepass(*file.scheme, file.password);
    Bytes stream = writeWorkbookStream(file.book, filepass);
    if (file.scheme)
        Rc4Cipher::fromFilepass(filepass, file.password).encryptStream(stream);

    if (file.container.find("Workbook")) {
        writeContainer(file.container, path, "Workbook", stream, mode);
        return;
    }
    Container container = file.container;
    StorageEntry &workbook = container.entries.emplace_back();
    workbook.name = "Workbook";
    workbook.data = std::move(stream);
    writeContainer(container, path, {}, {}, mode);
}

} // namespace xls
