#pragma once

#include <QPointF>
#include <QRectF>
#include <QSizeF>
#include <QString>
#include <vector>

namespace host {

// One cell as it prints: its box in points at 100 %, from the top-left corner of the page's
// block of cells, and its text as the sheet shows it.
struct PrintedCell {
    QRectF box;
    QString text;
    Qt::Alignment alignment; // left, centre or right; always at the bottom of the box
    bool number = false;     // a number or a date: never cut, "#" signs when it does not fit
};

// One page ready for a painter, everything in points.
struct PrintedPage {
    int number = 0;        // 1-based, down first, then across
    QSizeF paper;          // as the page lies: a landscape page is wider than tall
    QPointF origin;        // where the block of cells starts: the left and top margins
    double scale = 1.0;    // the zoom, or the fit-to-pages scale
    QString header;        // the centre header, its codes replaced
    double headerTop = 0;  // the header margin
    QString fontFamily;
    double fontPoints = 10;
    std::vector<PrintedCell> cells;
};

} // namespace host
