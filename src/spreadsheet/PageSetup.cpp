#include "PageSetup.h"

#include "Area.h"
#include "HostErrors.h"
#include "Worksheet.h"
#include "spreadsheet/detail/Engine.h"

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

xls::PageSetup &pageOf(const Worksheet &sheet)
{
    return detail::Engine::sheet(sheet).page;
}

// The file keeps margins in inches, in the order of PageSetup::Margin.
double &inches(xls::PageSetup &setup, int margin)
{
    static constexpr double xls::PageSetup::*fields[] = {
        &xls::PageSetup::leftMargin, &xls::PageSetup::rightMargin,  &xls::PageSetup::topMargin,
        &xls::PageSetup::bottomMargin, &xls::PageSetup::headerMargin, &xls::PageSetup::footerMargin};
    return setup.*fields[margin];
}

} // namespace

QString PageSetup::printArea() const
{
    const auto &area = pageOf(*sheet_).printArea;
    return area ? QString::fromStdU16String(*area) : QString();
}

void PageSetup::setPrintArea(const QString &area)
{
    xls::PageSetup &setup = pageOf(*sheet_);
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
    return splitHeader(QString::fromStdU16String(pageOf(*sheet_).header)).text[1];
}

void PageSetup::setCenterHeader(const QString &text)
{
    xls::PageSetup &setup = pageOf(*sheet_);
    Sections sections = splitHeader(QString::fromStdU16String(setup.header));
    sections.text[1] = text;
    const QString header = joinHeader(sections);
    if (header.size() > kMaxHeaderLength)
        throw refused("CenterHeader");
    setup.header = header.toStdU16String();
    setup.hasSetup = true;
}

double PageSetup::margin(Margin which) const
{
    return inches(pageOf(*sheet_), int(which)) * 72.0;
}

void PageSetup::setMargin(Margin which, double points, const char *property)
{
    const double value = points / 72.0;
    if (!std::isfinite(points) || value < 0 || value > kMaxMarginInches)
        throw refused(property);
    xls::PageSetup &setup = pageOf(*sheet_);
    inches(setup, int(which)) = value;
    setup.hasSetup = true;
}

double PageSetup::leftMargin() const { return margin(Margin::Left); }
double PageSetup::rightMargin() const { return margin(Margin::Right); }
double PageSetup::topMargin() const { return margin(Margin::Top); }
double PageSetup::bottomMargin() const { return margin(Margin::Bottom); }
double PageSetup::headerMargin() const { return margin(Margin::Header); }
double PageSetup::footerMargin() const { return margin(Margin::Footer); }
void PageSetup::setLeftMargin(double points) { setMargin(Margin::Left, points, "LeftMargin"); }
void PageSetup::setRightMargin(double points) { setMargin(Margin::Right, points, "RightMargin"); }
void PageSetup::setTopMargin(double points) { setMargin(Margin::Top, points, "TopMargin"); }
void PageSetup::setBottomMargin(double points) { setMargin(Margin::Bottom, points, "BottomMargin"); }
void PageSetup::setHeaderMargin(double points) { setMargin(Margin::Header, points, "HeaderMargin"); }
void PageSetup::setFooterMargin(double points) { setMargin(Margin::Footer, points, "FooterMargin"); }

int PageSetup::fitToPagesWide() const { return pageOf(*sheet_).fitWide; }
int PageSetup::fitToPagesTall() const { return pageOf(*sheet_).fitTall; }

void PageSetup::setFitToPagesWide(int pages)
{
    if (pages < 0 || pages > 32767)
        throw refused("FitToPagesWide");
    pageOf(*sheet_).fitWide = std::uint16_t(pages);
    pageOf(*sheet_).hasSetup = true;
}

void PageSetup::setFitToPagesTall(int pages)
{
    if (pages < 0 || pages > 32767)
        throw refused("FitToPagesTall");
    pageOf(*sheet_).fitTall = std::uint16_t(pages);
    pageOf(*sheet_).hasSetup = true;
}

Orientation PageSetup::orientation() const
{
    return pageOf(*sheet_).landscape ? Orientation::Landscape : Orientation::Portrait;
}

void PageSetup::setOrientation(Orientation orientation)
{
    if (orientation != Orientation::Portrait && orientation != Orientation::Landscape)
        throw refused("Orientation");
    pageOf(*sheet_).landscape = orientation == Orientation::Landscape;
    pageOf(*sheet_).hasSetup = true;
}

int PageSetup::paperSize() const { return pageOf(*sheet_).paperSize; }

void PageSetup::setPaperSize(int size)
{
    if (size < 1 || size > 255)
        throw refused("PaperSize");
    pageOf(*sheet_).paperSize = std::uint16_t(size);
    pageOf(*sheet_).hasSetup = true;
}

int PageSetup::zoom() const
{
    return pageOf(*sheet_).fitToPages ? 0 : pageOf(*sheet_).zoom;
}

void PageSetup::setZoom(int percent)
{
    if (percent < 10 || percent > 400)
        throw refused("Zoom");
    xls::PageSetup &setup = pageOf(*sheet_);
    setup.zoom = std::uint16_t(percent);
    setup.fitToPages = false;
    setup.hasSetup = true;
}

void PageSetup::setZoomOff()
{
    pageOf(*sheet_).fitToPages = true;
    pageOf(*sheet_).hasSetup = true;
}

} // namespace host
