// Pages on paper: the header centred at its margin, each text inside its cell on the side its
// alignment says, numbers that do not fit as "#" signs; no job for a printer the system lacks.
#include "spreadsheet/HostError.h"
#include "spreadsheet/print/PagePainter.h"
#include "spreadsheet/print/PrinterTarget.h"

#include <QImage>
#include <QPainter>
#include <gtest/gtest.h>

namespace {

constexpr double kDotsPerPoint = 2;

// The box around every dark dot of the image within `area`.
QRect inked(const QImage &image, const QRect &area)
{
    QRect box;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (qGray(image.pixel(x, y)) < 128)
                box |= QRect(x, y, 1, 1);
    return box;
}

class PagePainter : public testing::Test {
protected:
    QImage paint()
    {
        QImage image((page.paper * kDotsPerPoint).toSize(), QImage::Format_RGB32);
        image.fill(Qt::white);
        QPainter painter(&image);
        host::paintPage(painter, page, kDotsPerPoint);
        return image;
    }
    QRect dots(const QRectF &cell) // a cell's box on the image, zoomed from the margin corner
    {
        const double unit = page.scale * kDotsPerPoint;
        return QRectF(page.origin * kDotsPerPoint + cell.topLeft() * unit, cell.size() * unit).toAlignedRect();
    }

    host::PrintedPage page{1, {200, 100}, {20, 30}, 1.0, {}, 10, QStringLiteral("Arial"), 10, {}};
};

TEST_F(PagePainter, TheHeaderIsCentredAtItsMarginAndTextsStayInTheirCellsOnTheSideOfTheirAlignment)
{
    page.header = QStringLiteral("Stampa   Registrazioni");
    QImage image = paint();
    const QRect header = inked(image, image.rect());
    EXPECT_NEAR(header.center().x(), image.width() / 2, 3);
    EXPECT_GE(header.top(), 10 * kDotsPerPoint);
    EXPECT_LT(header.bottom(), 30 * kDotsPerPoint);

    const QRectF left(0, 0, 40, 12.75), right(40, 0, 40, 12.75);
    page.header.clear();
    page.cells = {{left, QStringLiteral("WWWWWWWWWWWWWWWWWWWW"), Qt::AlignLeft}, {right, QStringLiteral("12"), Qt::AlignRight}};
    page.scale = 1.5;
    image = paint();
    const QRect first = inked(image, dots(left)), second = inked(image, dots(right));
    EXPECT_EQ(inked(image, image.rect()), first | second) << "nothing outside the cells";
    EXPECT_NEAR(first.left() - dots(left).left(), 1.5 * 1.5 * kDotsPerPoint, 1.5) << "1.5 points of padding";
    EXPECT_GE(first.right(), dots(left).right() - 5);
    EXPECT_GT(second.left(), dots(right).center().x());
}

TEST_F(PagePainter, ANumberTooWideForItsCellPrintsAsHashSigns)
{
    page.cells = {{QRectF(0, 0, 30, 12.75), QStringLiteral("12/03/2024"), Qt::AlignRight, true}};
    const QImage number = paint();
    page.cells[0].number = false;
    int signs = 0;
    do
        page.cells[0].text = QString(++signs, u'#');
    while (signs < 20 && paint() != number);
    EXPECT_LT(signs, 20);
}

TEST(PrinterTarget, APrinterTheSystemDoesNotHaveIsAHostErrorNamingIt)
{
    try {
        host::PrinterTarget().print(QStringLiteral("Seleziona la stampante"), 1, std::vector<host::PrintedPage>(1));
        ADD_FAILURE() << "no HostError";
    } catch (const host::HostError &error) {
        EXPECT_EQ(error.description(),
                  QStringLiteral("La stampante \"Seleziona la stampante\" non è tra le stampanti installate."));
    }
}

} // namespace
