#include "Look.h"

#include "Product.h"

#include <QApplication>
#include <QFontDatabase>
#include <QLabel>

namespace kit {

namespace {

const QString kFamily = QStringLiteral("Calibri");

} // namespace

QFont windowFont(qreal points, bool bold)
{
    QFont font(kFamily);
    font.setPointSizeF(points);
    font.setBold(bold);
    return font;
}

void useWindowFont()
{
    if (!QFontDatabase::families().contains(kFamily))
        QFont::insertSubstitution(kFamily, QStringLiteral("Carlito"));
    QApplication::setFont(windowFont(11));
}

void setBackground(QWidget &field, const QColor &colour)
{
    QPalette palette = field.palette();
    palette.setColor(QPalette::Base, colour);
    field.setPalette(palette);
}

QLabel *makeOfferLabel(QWidget &parent)
{
    auto *label = new QLabel(kOffer, &parent);
    label->setObjectName(QStringLiteral("Label5"));
    return label;
}

} // namespace kit
