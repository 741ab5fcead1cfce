#include "DuplicateNotice.h"

#include "archive/Archive.h"
#include "archive/Columns.h"
#include "spreadsheet/HostError.h"
#include "spreadsheet/Worksheet.h"

#include <QLineEdit>

namespace registry {

namespace {

QString comparable(const QString &code)
{
    QString compact = code;
    compact.removeIf([](QChar c) { return c.isSpace(); });
    return compact.toUpper();
}

// Whether a cell holds `code` (comparable already), written in any case and with blanks
// anywhere; most cells are told apart by their length alone.
bool holds(const QString &cell, const QString &code)
{
    if (cell.size() == code.size())
        return cell.compare(code, Qt::CaseInsensitive) == 0;
    return cell.size() > code.size() && comparable(cell) == code;
}

} // namespace

QString duplicateWarning(const host::Worksheet &registry, const model::Fields &fields)
{
    struct Code {
        int column;
        QString what, code;
        int first = 0, others = 0; // the first row holding it, and how many more do
    };
    Code codes[] = {{archive::kPartitaIvaColumn, QStringLiteral("la partita IVA"), comparable(fields[archive::kPartitaIvaColumn - 1])},
                    {archive::kCodiceFiscaleColumn, QStringLiteral("il codice fiscale"),
                     comparable(fields[archive::kCodiceFiscaleColumn - 1])}};
    if (codes[0].code.isEmpty() && codes[1].code.isEmpty())
        return {};
    const int last = registry.usedRange().lastRow();
    for (int row = 2; row <= last; ++row) {
        for (Code &code : codes) {
            if (code.code.isEmpty() || !holds(registry.cells(row, code.column).text(), code.code))
                continue;
            if (code.first)
                ++code.others;
            else
                code.first = row;
        }
    }
    QStringList lines;
    for (const Code &code : codes) {
        if (!code.first)
            continue;
        QString line = QStringLiteral("Attenzione: %1 %2 è già del soggetto %3 %4")
                           .arg(code.what, code.code, registry.cells(code.first, archive::kIdColumn).text(),
                                registry.cells(code.first, archive::kNameColumn).text());
        if (code.others)
            line += code.others == 1 ? QStringLiteral(" e di un altro") : QStringLiteral(" e di altri %1").arg(code.others);
        lines << line;
    }
    return lines.join(u'\n');
}

DuplicateNotice::DuplicateNotice(QLineEdit &codiceFiscale, QLineEdit &partitaIva, QWidget *parent) : QLabel(parent)
{
    setObjectName(QStringLiteral("DuplicateNotice"));
    setWordWrap(true);
    setTextInteractionFlags(Qt::TextSelectableByMouse);
    QPalette warning = palette();
    warning.setColor(QPalette::WindowText, QColor(160, 0, 0));
    setPalette(warning);
    hide();
    for (QLineEdit *field : {&codiceFiscale, &partitaIva})
        connect(field, &QLineEdit::textChanged, this, &QWidget::hide);
}

void DuplicateNotice::check(host::Application &app, const model::Fields &fields)
{
    QString warning;
    try {
        warning = duplicateWarning(archive::RegistrySheet(app), fields);
    } catch (const host::HostError &) {
    }
    setText(warning);
    setVisible(!warning.isEmpty());
}

} // namespace registry
