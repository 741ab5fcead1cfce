#include "PageSetup.h"

#include "Area.h"
#include "Book.h"
#include "HostErrors.h"
#include "Worksheet.h"

#include <QStringList>
#include <array>
#include <cmath>

namespace host {
namespace {

constexpr int kMaxHeaderLength = 255;
constexpr double kMaxMarginInches = 49.0; // what the SETUP/margin records allow sensibly

HostError refused(const char *property)
{
    return badProperty(QString::fromLatin1(property), QStringLiteral("PageSetup"));
}

// Header sections: text after &L, &C, &R; text before any section code is centred.
struct Sections {
    std::array<QString, 3> text; // left, centre, right
};

Sections splitHeader(const QString &header)
{
    Sections sections;
    int current = 1;
    for (int i = 0; i < header.size(); ++i) {
        const QChar c = header[i];
        if (c == QLatin1Char('&') && i + 1 < header.size()) {
            const QChar code = header[i + 1].toUpper();
            const int section = code == QLatin1Char('L') ? 0 : code == QLatin1Char('C') ? 1
                              : code == QLatin1Char('R') ? 2 : -1;
            if (section >= 0) {
                current = section;
                ++i;
                continue;
            }
            // any other code (&&, &P, &"font"...) belongs to the section's text
            sections.text[std::size_t(current)] += c;
            sections.text[std::size_t(current)] += header[++i];
            continue;
        }
        sections.text[std::size_t(current)] += c;
    }
    return sections;
}

QString joinHeader(const Sections &sections)
{
    static const std::array<QString, 3> codes = {QStringLiteral("&L"), QStringLiteral("&C"), QStringLiteral("&R")};
    QString header;
    for (std::size_t i = 0; i < 3; ++i) {
        if (!sections.text[i].isEmpty())
            header += codes[i] + sections.text[i];
    }
    return header;
}

} // namespace

xls::PageSetup &PageSetup::page() const
{
    return sheet_->data().page;
}

QString PageSetup::printArea() const
{
    const auto &area = page().printArea;
    return area ? QString::fromStdU16String(*area) : QString();
}

void PageSetup::setPrintArea(const QString &area)
{
    xls::PageSetup &setup = page();
    if (area.trimmed().isEmpty()) {
        setup.printArea.reset();
        return;
    }
    QStringList parts;
    for (const QString &text : area.split(QLatin1Char(','))) {
        const auto parsed = Area::parse(text);
        if (!parsed)
            throw refused("PrintArea");
        parts << parsed->absolute();
    }
    setup.printArea = parts.join(QLatin1Char(',')).toStdU16String();
    setup.hasSetup = true;
}

QString PageSetup::centerHeader() const
{
    return splitHeader(QString::fromStdU16String(page().header)).text[1];
}

void PageSetup::setCenterHeader(const QString &text)
{
    xls::PageSetup &setup = page();
    Sections sections = splitHeader(QString::fromStdU16String(setup.header));
    sections.text[1] = text;
    const QString header = joinHeader(sections);
    if (header.size() > kMaxHeaderLength)
        throw refused("CenterHeader");
    setup.header = header.toStdU16String();
    setup.hasSetup = true;
}

void PageSetup::setMargin(double xls::PageSetup::*field, double points, const char *property)
{
    const double inches = points / 72.0;
    if (!std::isfinite(points) || inches < 0 || inches > kMaxMarginInches)
        throw refused(property);
    xls::PageSetup &setup = page();
    setup.*field = inches;
    setup.hasSetup = true;
}

double PageSetup::leftMargin() const { return page().leftMargin * 72.0; }
double PageSetup::rightMargin() const { return page().rightMargin * 72.0; }
double PageSetup::topMargin() const { return page().topMargin * 72.0; }
double PageSetup::bottomMargin() const { return page().bottomMargin * 72.0; }
double PageSetup::headerMargin() const { return page().headerMargin * 72.0; }
double PageSetup::footerMargin() const { return page().footerMargin * 72.0; }
void PageSetup::setLeftMargin(double points) { setMargin(&xls::PageSetup::leftMargin, points, "LeftMargin"); }
void PageSetup::setRightMargin(double points) { setMargin(&xls::PageSetup::rightMargin, points, "RightMargin"); }
void PageSetup::setTopMargin(double points) { setMargin(&xls::PageSetup::topMargin, points, "TopMargin"); }
void PageSetup::setBottomMargin(double points) { setMargin(&xls::PageSetup::bottomMargin, points, "BottomMargin"); }
void PageSetup::setHeaderMargin(double points) { setMargin(&xls::PageSetup::headerMargin, points, "HeaderMargin"); }
void PageSetup::setFooterMargin(double points) { setMargin(&xls::PageSetup::footerMargin, points, "FooterMargin"); }

int PageSetup::fitToPagesWide() const { return page().fitWide; }
int PageSetup::fitToPagesTall() const { return page().fitTall; }

void PageSetup::setFitToPagesWide(int pages)
{
    if (pages < 0 || pages > 32767)
        throw refused("FitToPagesWide");
    page().fitWide = std::uint16_t(pages);
    page().hasSetup = true;
}

void PageSetup::setFitToPagesTall(int pages)
{
    if (pages < 0 || pages > 32767)
        throw refused("FitToPagesTall");
    page().fitTall = std::uint16_t(pages);
    page().hasSetup = true;
}

Orientation PageSetup::orientation() const
{
    return page().landscape ? Orientation::Landscape : Orientation::Portrait;
}

void PageSetup::setOrientation(Orientation orientation)
{
    if (orientation != Orientation::Portrait && orientation != Orientation::Landscape)
        throw refused("Orientation");
    page().landscape = orientation == Orientation::Landscape;
    page().hasSetup = true;
}

int PageSetup::paperSize() const { return page().paperSize; }

void PageSetup::setPaperSize(int size)
{
    if (size < 1 || size > 255)
        throw refused("PaperSize");
    page().paperSize = std::uint16_t(size);
    page().hasSetup = true;
}

int PageSetup::zoom() const
{
    return page().fitToPages ? 0 : page().zoom;
}

void PageSetup::setZoom(int percent)
{
    if (percent < 10 || percent > 400)
        throw refused("Zoom");
    xls::PageSetup &setup = page();
    setup.zoom = std::uint16_t(percent);
    setup.fitToPages = false;
    setup.hasSetup = true;
}

void PageSetup::setZoomOff()
{
    page().fitToPages = true;
    page().hasSetup = true;
}

} // namespace host
