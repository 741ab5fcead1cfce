#include "CompoundFile.h"

#include "ContainerCheck.h"
#include "ContainerTempFile.h"
#include "Error.h"
#include "HugePages.h"

#include <gsf/gsf-infile-msole.h>
#include <gsf/gsf-infile.h>
#include <gsf/gsf-input-memory.h>
#include <gsf/gsf-outfile-msole.h>
#include <gsf/gsf-outfile.h>
#include <gsf/gsf-output-stdio.h>
#include <gsf/gsf-utils.h>

#include <algorithm>
#include <cstring>
#include <memory>

namespace xls {

namespace {

constexpr std::uint8_t oleSignature[8] = {0xD0, 0xCF, 0x11, 0xE0, 0xA1, 0xB1, 0x1A, 0xE1};
constexpr int maxStorageDepth = 32;

void ignoreLog(const gchar *, GLogLevelFlags, const gchar *, gpointer) {}

void initGsf()
{
    static const bool done = [] {
        gsf_init();
        // Hostile containers make libgsf warn; they are reported as Error instead.
        for (const char *domain : {"libgsf", "libgsf:msole"})
            g_log_set_handler(domain, GLogLevelFlags(G_LOG_LEVEL_WARNING | G_LOG_LEVEL_CRITICAL), ignoreLog, nullptr);
        return true;
    }();
    (void)done;
}

struct Unref {
    void operator()(gpointer object) const { g_object_unref(object); }
};
template <typename T> using GsfPtr = std::unique_ptr<T, Unref>;

bool equalsIgnoringCase(std::string_view a, std::string_view b)
{
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return (x >= 'A' && x <= 'Z' ? x + 32 : x) == (y >= 'A' && y <= 'Z' ? y + 32 : y);
    });
}

std::string errorText(const GError *error)
{
    return error && error->message ? std::string(error->message) : std::string("errore sconosciuto");
}

[[noreturn]] void damaged(const std::string &what)
{
    throw Error(ErrorKind::Damaged, "contenitore OLE2 danneggiato: " + what);
}

void readEntries(GsfInfile *dir, const std::string &where, std::size_t fileSize, int depth,
                 std::vector<StorageEntry> &out)
{
    const int count = gsf_infile_num_children(dir);
    for (int i = 0; i < count; ++i) {
        const char *childName = gsf_infile_name_by_index(dir, i);
        StorageEntry entry;
        entry.name = childName ? childName : "";
        const std::string path = where + "/" + entry.name;
        GsfPtr<GsfInput> child(gsf_infile_child_by_index(dir, i));
        if (!child)
            damaged("la voce \"" + path + "\" del contenitore OLE2 non è leggibile");

        if (GSF_IS_INFILE(child.get()) && gsf_infile_num_children(GSF_INFILE(child.get())) >= 0) {
            if (depth >= maxStorageDepth)
                damaged("cartelle annidate oltre " + std::to_string(maxStorageDepth) + " livelli in \"" + path + "\"");
            entry.isStorage = true;
            gsf_infile_msole_get_class_id(GSF_INFILE_MSOLE(child.get()), entry.clsid.data());
            readEntries(GSF_INFILE(child.get()), path, fileSize, depth + 1, entry.children);
        } else {
            const gsf_off_t size = gsf_input_size(child.get());
            if (size < 0 || std::uint64_t(size) > fileSize)
                damaged("il flusso \"" + path + "\" dichiara " + std::to_string(size) +
                        " byte, più dell'intero file (" + std::to_string(fileSize) + " byte)");
            entry.data.reserve(std::size_t(size));
            preferHugePages(entry.data.data(), std::size_t(size));
            entry.data.resize(std::size_t(size));
            if (size > 0 && !gsf_input_read(child.get(), size, entry.data.data()))
                damaged("il flusso \"" + path + "\" non è leggibile (catena di settori interrotta)");
        }
        out.push_back(std::move(entry));
    }
}

std::size_t countEntries(const std::vector<StorageEntry> &entries)
{
    std::size_t count = entries.size();
    for (const StorageEntry &entry : entries)
        count += countEntries(entry.children);
    return count;
}

void writeEntries(GsfOutfile *dir, const std::vector<StorageEntry> &entries, const std::string &where,
                  std::string_view replaceName, std::span<const std::uint8_t> replaceData)
{
    for (const StorageEntry &entry : entries) {
        const std::string path = where + "/" + entry.name;
        GsfPtr<GsfOutput> child(gsf_outfile_new_child(dir, entry.name.c_str(), entry.isStorage));
        if (!child)
            throw Error(ErrorKind::Io, "impossibile creare la voce \"" + path + "\" del contenitore");
        bool ok = true;
        if (entry.isStorage) {
            gsf_outfile_msole_set_class_id(GSF_OUTFILE_MSOLE(child.get()), entry.clsid.data());
            writeEntries(GSF_OUTFILE(child.get()), entry.children, path, {}, {});
        } else {
            std::span<const std::uint8_t> data = entry.data;
            if (!replaceName.empty() && equalsIgnoringCase(entry.name, replaceName))
                data = replaceData;
            if (!data.empty())
                ok = gsf_output_write(child.get(), data.size(), data.data());
        }
        ok = gsf_output_close(child.get()) && ok;
        if (!ok)
            throw Error(ErrorKind::Io, "scrittura del flusso \"" + path + "\" non riuscita: " +
                                           errorText(gsf_output_error(child.get())));
    }
}

} // namespace

StorageEntry *Container::find(std::string_view name)
{
    for (StorageEntry &entry : entries)
        if (equalsIgnoringCase(entry.name, name))
            return &entry;
    return nullptr;
}

const StorageEntry *Container::find(std::string_view name) const
{
    return const_cast<Container *>(this)->find(name);
}

Container readContainer(std::span<const std::uint8_t> bytes)
{
    if (bytes.empty())
        throw Error(ErrorKind::NotAWorkbook, "file vuoto (0 byte): non è una cartella di lavoro di Excel");
    if (bytes.size() < sizeof oleSignature || std::memcmp(bytes.data(), oleSignature, sizeof oleSignature) != 0)
        throw Error(ErrorKind::NotAWorkbook,
                    "manca l'intestazione del formato OLE2: non è una cartella di lavoro di Excel");
    const std::size_t expectedEntries = checkContainer(bytes);
    initGsf();

    GsfPtr<GsfInput> input(gsf_input_memory_new(bytes.data(), gsf_off_t(bytes.size()), FALSE));
    GError *error = nullptr;
    GsfPtr<GsfInfile> root(gsf_infile_msole_new(input.get(), &error));
    if (!root) {
        const std::string detail = errorText(error);
        g_clear_error(&error);
        damaged("non leggibile (" + detail + ")");
    }
    Container container;
    gsf_infile_msole_get_class_id(GSF_INFILE_MSOLE(root.get()), container.clsid.data());
    readEntries(root.get(), "", bytes.size(), 0, container.entries);
    if (countEntries(container.entries) != expectedEntries)
        damaged("la directory del contenitore OLE2 ha " + std::to_string(expectedEntries) + " voci, leggibili solo " +
                std::to_string(countEntries(container.entries)));
    return container;
}

void writeContainer(const Container &container, const std::string &path, std::string_view replaceName,
                    std::span<const std::uint8_t> replaceData, SaveMode mode)
{
    initGsf();
    ContainerTempFile temp(path);
    try {
        GsfPtr<GsfOutput> sink(gsf_output_stdio_new_FILE(temp.path().c_str(), temp.file(), TRUE));
        GsfPtr<GsfOutfile> out(gsf_outfile_msole_new(sink.get()));
        if (!sink || !out)
            throw Error(ErrorKind::Io, "impossibile preparare il contenitore OLE2");
        gsf_outfile_msole_set_class_id(GSF_OUTFILE_MSOLE(out.get()), container.clsid.data());
        writeEntries(out.get(), container.entries, "", replaceName, replaceData);
        if (!gsf_output_close(GSF_OUTPUT(out.get())))
            throw Error(ErrorKind::Io, "scrittura del contenitore non riuscita: " +
                                           errorText(gsf_output_error(GSF_OUTPUT(out.get()))));
        // Closing the OLE2 file closes its sink too; the FILE stays open for commit().
        if (!gsf_output_is_closed(sink.get()) && !gsf_output_close(sink.get()))
            throw Error(ErrorKind::Io, "scrittura del file non riuscita: " + errorText(gsf_output_error(sink.get())));
    } catch (const Error &e) {
        throw Error(ErrorKind::Io, std::string(e.what()) + " (\"" + path + "\")");
    }
    temp.commit(mode);
}

} // namespace xls
