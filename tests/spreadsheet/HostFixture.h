#pragma once

#include "Application.h"
#include "HostError.h"
#include "XlsFile.h"

#include <gtest/gtest.h>

#include <functional>

// The HostError `call` raises; a test failure when it raises none.
inline host::HostError raised(const std::function<void()> &call)
{
    try {
        call();
    } catch (const host::HostError &error) {
        return error;
    }
    ADD_FAILURE() << "no HostError";
    return host::HostError(host::ErrorKind::InvalidArgument, 0, {});
}

// A host with one fresh in-memory workbook holding the sheet "Velmoro", Italian settings.
class HostFixture : public ::testing::Test {
protected:
    static std::unique_ptr<xls::XlsFile> freshFile(std::u16string_view sheetName = u"Velmoro")
    {
        return std::make_unique<xls::XlsFile>(xls::newXlsFile(xls::newBook(sheetName), u""));
    }

    host::Application app{Regional::italian()};
    host::Workbook &book = app.adopt(QStringLiteral("/nonexistent-folder/test.xls"), freshFile());
    host::Worksheet &sheet = book.sheets(QStringLiteral("Velmoro"));

    xls::Sheet &data() { return sheet.data(); }
    xls::Book &model() { return sheet.book(); }
    host::Range at(const char *address) { return sheet.range(QString::fromLatin1(address)); }
    void put(const char *address, const QString &text) { at(address).setValue(text); }
    QString text(const char *address) { return at(address).text(); }
};

// Readable failure messages for QString comparisons.
inline void PrintTo(const QString &text, std::ostream *out)
{
    *out << '"' << text.toStdString() << '"';
}
