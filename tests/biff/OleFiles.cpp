#include "OleFiles.h"

#include <gsf/gsf.h>

#include <filesystem>
#include <stdexcept>
#include <unistd.h>

namespace biff_test {

xls::Bytes readWorkbookStream(const std::string &path)
{
    gsf_init();
    GError *err = nullptr;
    GsfInput *src = gsf_input_stdio_new(path.c_str(), &err);
    if (!src)
        throw std::runtime_error("cannot open " + path);
    GsfInfile *ole = gsf_infile_msole_new(src, &err);
    if (!ole) {
        g_object_unref(src);
        throw std::runtime_error("not OLE2: " + path);
    }
    GsfInput *wb = gsf_infile_child_by_name(ole, "Workbook");
    xls::Bytes data;
    if (wb) {
        data.resize(static_cast<std::size_t>(gsf_input_size(wb)));
        if (!data.empty())
            gsf_input_read(wb, data.size(), data.data());
        g_object_unref(wb);
    }
    g_object_unref(ole);
    g_object_unref(src);
    if (!wb)
        throw std::runtime_error("no Workbook stream in " + path);
    return data;
}

void writeWorkbookFile(const std::string &path, const xls::Bytes &stream)
{
    gsf_init();
    GError *err = nullptr;
    GsfOutput *sink = gsf_output_stdio_new(path.c_str(), &err);
    if (!sink)
        throw std::runtime_error("cannot write " + path);
    GsfOutfile *out = gsf_outfile_msole_new(sink);
    GsfOutput *child = gsf_outfile_new_child(out, "Workbook", FALSE);
    gsf_output_write(child, stream.size(), stream.data());
    gsf_output_close(child);
    g_object_unref(child);
    gsf_output_close(GSF_OUTPUT(out));
    g_object_unref(out);
    g_object_unref(sink);
}

std::string fixture(const std::string &name) { return std::string(BIFF_FIXTURES) + "/" + name; }

std::string tempPath(const std::string &name)
{
    const auto dir = std::filesystem::temp_directory_path() / ("biff_tests_" + std::to_string(getpid()));
    std::filesystem::create_directories(dir);
    return (dir / name).string();
}

} // namespace biff_test
