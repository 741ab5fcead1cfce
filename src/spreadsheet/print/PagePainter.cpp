#include "PagePainter.h"

#include <QFont>
#include <QFontMetricsF>
#include <QPainter>

namespace host {
namespace {

constexpr double kPadding = 1.5; // points between a text and the sides of its cell

QFont pageFont(const PrintedPage &page, double pointSize)
{
    QFont font(page.fontFamily);
    font.setPointSizeF(pointSize);
    return font;
}

} // namespace

void paintPage(QPainter &painter, const PrintedPage &page, double dotsPerPoint)
{
    // Fonts are sized in points of the device, so geometry is mapped by hand, not by a
    // painter transform that would scale the text a second time.
    painter.save();
    painter.setPen(Qt::black);
    const double width = page.paper.width() * dotsPerPoint;
    if (!page.header.isEmpty()) {
        painter.setFont(pageFont(page, page.fontPoints));
        const double top = page.headerTop * dotsPerPoint;
        const double height = QFontMetricsF(painter.font()).height() * 1.5;
        painter.drawText(QRectF(0, top, width, height), Qt::AlignHCenter | Qt::AlignTop, page.header);
    }
    painter.setFont(pageFont(page, page.fontPoints * page.scale));
    const double unit = page.scale * dotsPerPoint;
    const QPointF origin = page.origin * dotsPerPoint;
    const double padding = kPadding * unit;
    for (const PrintedCell &cell : page.cells) {
        const QRectF box(origin + cell.box.topLeft() * unit, cell.box.size() * unit);
        painter.save();
        painter.setClipRect(box);
        painter.drawText(box.adjusted(padding, 0, -padding, 0), cell.alignment | Qt::AlignBottom, cell.text);
        painter.restore();
    }
    painter.restore();
}

} // namespace host
