#pragma once

#include "spreadsheet/PrintedPage.h"

class QPainter;

namespace host {

// Paints one page with its top-left corner at the painter's origin, `dotsPerPoint` device
// dots to a point: the centre header at the header margin, each cell's text clipped to its
// box (a number too wide shows as "#" signs), the boxes scaled by the page's zoom from the
// top-left margin corner.
void paintPage(QPainter &painter, const PrintedPage &page, double dotsPerPoint);

} // namespace host
