// Pages on paper: the header centred at its margin, each text inside its cell, the zoom
// applied from the margin corner; and no job for a printer the system does not have.
#include "HostError.h"
#include "PagePainter.h"
#include "PrinterTarget.h"

#include <QImage>
#include <QPainter>
#include <gtest/gtest.h>

namespace {

constexpr double kDotsPerPoint = 2; // 144 dots to the inch

// The box around every dark dot of an image.
QRect inked(const QImage &image, const QRect &within)
{
    QRect box;
    for (int y = within.top(); y <= within.bottom(); ++y)
        for (int x = within.left(); x <= within.right(); ++x)
            if (qGray(image.pixel(x, y)) < 128)
                box |= QRect(x, y, 1, 1);
    return box;
}

class PagePainter : public testing::Test {
protected:
    PagePainter()
    {
        page.paper = {200, 100};
        page.origin = {20, 30};
        page.fontFamily = QStringLiteral("Arial");
        page.fontPoints = 10;
    }
    QImage paint()
    {
        QImage image(QSizeF(page.paper * kDotsPerPoint).toSize(), QImage::Format_RGB32);
        image.fill(Qt::white);
        QPainter painter(&image);
        host::paintPage(painter, page, kDotsPerPoint);
        return image;
    }
    QRect dots(const QRectF &points) // a rectangle of the page, in points, as image dots
    {
        return QRectF(points.topLeft() * kDotsPerPoint, points.size() * kDotsPerPoint).toAlignedRect();
    }

    host::PrintedPage page;
};

TEST_F(PagePainter, TheHeaderIsCentredAtTheHeaderMargin)
{
    page.header = QStringLiteral("Stampa   Registrazioni");
    page.headerTop = 10;
    const QImage image = paint();
    const QRect ink = inked(image, image.rect());
    ASSERT_FALSE(ink.isEmpty());
    EXPECT_NEAR(ink.center().x(), image.width() / 2, 3);
    EXPECT_GE(ink.top(), 10 * kDotsPerPoint);
    EXPECT_LT(ink.bottom(), 30 * kDotsPerPoint);
}

TEST_F(PagePainter, TextsStayInsideTheirCellsOnTheSideTheirAlignmentSays)
{
    const QRectF left(0, 0, 40, 12.75), right(40, 0, 40, 12.75);
    page.cells = {{left, QStringLiteral("WWWWWWWWWWWWWWWWWWWW"), Qt::AlignLeft},
                  {right, QStringLiteral("12"), Qt::AlignRight}};
    const QImage image = paint();
    const QRect row = dots(QRectF(0, 30, 200, 12.75));
    const QRect firstCell = dots(left.translated(page.origin)), secondCell = dots(right.translated(page.origin));

    EXPECT_EQ(inked(image, image.rect()), inked(image, row)) << "nothing outside the row";
    const QRect wide = inked(image, firstCell);
    EXPECT_LE(wide.left() - firstCell.left(), 4);
    EXPECT_GE(wide.right(), firstCell.right() - 5) << "the long text fills its cell";
    const QRect number = inked(image, secondCell);
    EXPECT_GT(number.left(), secondCell.center().x());
    EXPECT_GE(number.right(), secondCell.right() - 5);
}

TEST_F(PagePainter, ANumberTooWideForItsCellPrintsAsHashSignsAndATextIsCut)
{
    const QRectF narrow(0, 0, 30, 12.75);
    page.cells = {{narrow, QStringLiteral("12/03/2024"), Qt::AlignRight, true}};
    const QImage number = paint();
    page.cells[0].number = false;
    const QImage text = paint();
    EXPECT_NE(number, text);
    bool hashes = false;
    for (int signs = 1; signs <= 20 && !hashes; ++signs) {
        page.cells[0].text = QString(signs, u'#');
        hashes = paint() == number;
    }
    EXPECT_TRUE(hashes);

    page.cells[0] = {narrow, QStringLiteral("12"), Qt::AlignRight, true};
    const QImage fits = paint();
    page.cells[0].number = false;
    EXPECT_EQ(paint(), fits) << "a number that fits prints as it is";
}

TEST_F(PagePainter, TheZoomScalesCellsFromTheMarginCorner)
{
    page.cells = {{QRectF(10, 10, 30, 12.75), QStringLiteral("88"), Qt::AlignLeft}};
    const QRect normal = inked(paint(), QRect(QPoint(0, 0), (page.paper * kDotsPerPoint).toSize()));
    page.scale = 2;
    const QRect doubled = inked(paint(), QRect(QPoint(0, 0), (page.paper * kDotsPerPoint).toSize()));
    ASSERT_FALSE(normal.isEmpty());
    EXPECT_NEAR(doubled.height(), 2 * normal.height(), 3);
    EXPECT_NEAR(doubled.left() - 20 * kDotsPerPoint, 2 * (normal.left() - 20 * kDotsPerPoint), 3);
    EXPECT_NEAR(doubled.bottom() - 30 * kDotsPerPoint, 2 * (normal.bottom() - 30 * kDotsPerPoint), 4);
}

TEST(PrinterTarget, APrinterTheSystemDoesNotHaveIsAHostErrorNamingIt)
{
    host::PrinterTarget target;
    for (const auto &pages : {std::vector<host::PrintedPage>{}, std::vector<host::PrintedPage>(1)}) {
        try {
            target.print(QStringLiteral("Seleziona la stampante"), 1, pages);
            ADD_FAILURE() << "no HostError";
        } catch (const host::HostError &error) {
            EXPECT_EQ(error.number(), host::kApplicationDefined);
            EXPECT_EQ(error.description(),
                      QStringLiteral("La stampante \"Seleziona la stampante\" non è tra le stampanti installate."));
        }
    }
}

} // namespace
