#include "FieldHints.h"

#include "archive/Columns.h"
#include "model/CodeChecks.h"

#include <QLineEdit>
#include <algorithm>

namespace registry {

namespace {

constexpr int kCheckedFields[] = {archive::kCapColumn, archive::kProvinceColumn, archive::kCodiceFiscaleColumn,
                                  archive::kPartitaIvaColumn, archive::kIbanColumn};
const QColor kWrongTint(255, 214, 214);

} // namespace

void showCodeHints(QLineEdit &field, int number)
{
    if (std::find(std::begin(kCheckedFields), std::end(kCheckedFields), number) == std::end(kCheckedFields))
        return;
    const QColor usual = field.palette().color(QPalette::Base);
    const auto hint = [&field, number, usual](const QString &text) {
        const QString wrong = model::checkField(number, text);
        QPalette palette = field.palette();
        palette.setColor(QPalette::Base, wrong.isEmpty() ? usual : kWrongTint);
        field.setPalette(palette);
        field.setToolTip(wrong);
        field.setAccessibleDescription(wrong);
    };
    QObject::connect(&field, &QLineEdit::textChanged, &field, hint);
    hint(field.text());
}

} // namespace registry
