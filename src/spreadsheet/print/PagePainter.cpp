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

// A number or date too wide for its cell shows as "#" signs filling it, as on screen.
QString fitted(const PrintedCell &cell, const QFontMetricsF &metrics, double room)
{
    if (!cell.number || metrics.horizontalAdvance(cell.text) <= room)
        return cell.text;
    return QString(qMax(1, int(room / metrics.horizontalAdvance(u'#'))), u'#');
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
        const double height = QFontMetricsF(painter.font(), painter.device()).height() * 1.5;
        painter.drawText(QRectF(0, top, width, height), Qt::AlignHCenter | Qt::AlignTop, page.header);
    }
    painter.setFont(pageFont(page, page.fontPoints * page.scale));
    const double unit = page.scale * dotsPerPoint;
    const QPointF origin = page.origin * dotsPerPoint;
    const double padding = kPadding * unit;
    const QFontMetricsF metrics(painter.font(), painter.device());
    for (const PrintedCell &cell : page.cells) {
        const QRectF box(origin + cell.box.topLeft() * unit, cell.box.size() * unit);
        const QRectF room = box.adjusted(padding, 0, -padding, 0);
        painter.save();
        painter.setClipRect(box);
        painter.drawText(room, cell.alignment | Qt::AlignBottom, fitted(cell, metrics, room.width()));
        painter.restore();
    }
    painter.restore();
}

} // namespace host
