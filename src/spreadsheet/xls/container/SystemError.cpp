#include "SystemError.h"

#include <cerrno>
#include <cstring>

namespace xls {

namespace {

struct Reason {
    int err;
    const char *text;
};

constexpr Reason reasons[] = {
    {EACCES, "permesso negato"},
    {EPERM, "operazione non permessa"},
    {ENOSPC, "spazio esaurito sul disco"},
    {EDQUOT, "spazio concesso sul disco esaurito"},
    {EFBIG, "file troppo grande"},
    {EROFS, "file system di sola lettura"},
    {EISDIR, "è una cartella, non un file"},
    {ENOTDIR, "una parte del percorso non è una cartella"},
    {ENOENT, "file o cartella inesistente"},
    {EEXIST, "il file esiste già"},
    {EIO, "errore di lettura o scrittura sul disco"},
    {ENAMETOOLONG, "nome del file troppo lungo"},
    {ELOOP, "troppi collegamenti simbolici nel percorso"},
    {EMFILE, "troppi file aperti"},
    {ENFILE, "troppi file aperti nel sistema"},
    {ENOMEM, "memoria insufficiente"},
    {ENOLCK, "il file system non permette di bloccare i file"},
    {EBUSY, "risorsa occupata"},
    {ESTALE, "file remoto non più disponibile"},
};

} // namespace

std::string systemErrorText(int err)
{
    const char *text = nullptr;
    for (const Reason &reason : reasons)
        if (reason.err == err)
            text = reason.text;
    return std::string(text ? text : std::strerror(err)) + " (errore di sistema " + std::to_string(err) + ")";
}

} // namespace xls
