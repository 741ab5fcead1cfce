#include "Logo.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace kit {

QPixmap logoPixmap(int size)
{
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);

    const QRectF card(size * 0.06, size * 0.06, size * 0.88, size * 0.88);
    QLinearGradient fill(card.topLeft(), card.bottomRight());
    fill.setColorAt(0, QColor(0x2e, 0x6d, 0xb4));
    fill.setColorAt(1, QColor(0x17, 0x3f, 0x6e));
    painter.setPen(QPen(QColor(0x10, 0x2a, 0x4a), size / 48.0));
    painter.setBrush(fill);
    painter.drawRoundedRect(card, size * 0.12, size * 0.12);

    // Ruled lines of a register behind the letter.
    painter.setPen(QPen(QColor(255, 255, 255, 70), size / 64.0));
    for (int i = 1; i <= 4; ++i) {
        const qreal y = card.top() + card.height() * i / 5.0;
        painter.drawLine(QPointF(card.left() + size * 0.1, y), QPointF(card.right() - size * 0.1, y));
    }

    QPainterPath v;
    v.moveTo(card.left() + card.width() * 0.22, card.top() + card.height() * 0.2);
    v.lineTo(card.center().x(), card.bottom() - card.height() * 0.18);
    v.lineTo(card.right() - card.width() * 0.22, card.top() + card.height() * 0.2);
    painter.setPen(QPen(QColor(0xf5, 0xc2, 0x42), size * 0.12, Qt::SolidLine, Qt::RoundCap,
                        Qt::RoundJoin));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(v);
    return pixmap;
}

} // namespace kit
