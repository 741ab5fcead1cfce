#pragma once

#include "spreadsheet/Application.h"
#include "spreadsheet/HostError.h"
#include "spreadsheet/detail/Engine.h"

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

struct WriteCase {
    const char *written;
    host::ValueType stored;
};

// Writes the text into `cell`; whatever is stored reads back as written.
inline void expectWrites(host::Range cell, const WriteCase &c)
{
    const QString written = QString::fromUtf8(c.written);
    cell.setValue(written);
    EXPECT_EQ(cell.valueType(), c.stored) << c.written;
    EXPECT_EQ(cell.text(), written) << c.written;
}

// A host with one fresh in-memory workbook holding the sheet "Velmoro", Italian settings.
class HostFixture : public ::testing::Test {
protected:
    host::Application app{Regional::italian()};
    host::Workbook &book = app.create(QStringLiteral("/nonexistent-folder/test.xls"), QString(), QStringLiteral("Velmoro"));
    host::Worksheet &sheet = book.sheets(QStringLiteral("Velmoro"));

    xls::Sheet &data() { return host::detail::Engine::sheet(sheet); }
    xls::Book &model() { return host::detail::Engine::book(sheet); }
    host::Range at(const char *address) { return sheet.range(QString::fromLatin1(address)); }
    void put(const char *address, const QString &text) { at(address).setValue(text); }
    QString text(const char *address) { return at(address).text(); }
};

// Readable failure messages for QString comparisons.
inline void PrintTo(const QString &text, std::ostream *out)
{
    *out << '"' << text.toStdString() << '"';
}
