#pragma once

#include <QString>

namespace host {

class Worksheet;

enum class Orientation { Portrait = 1, Landscape = 2 };

// The sheet's page setup; margins in points (the file keeps inches), stored in the file.
// A value out of range raises HostError 1004 and keeps the old value.
class PageSetup {
public:
    explicit PageSetup(Worksheet &sheet) : sheet_(&sheet) {}

    QString printArea() const;              // "" when none; "$A$1:$R$40" otherwise
    void setPrintArea(const QString &area); // accepts "A1:R40" or "$A$1:$R$40"; "" clears
    QString centerHeader() const;           // the &C section of the header
    void setCenterHeader(const QString &text); // keeps the &L and &R sections
    double leftMargin() const;   void setLeftMargin(double points);
    double rightMargin() const;  void setRightMargin(double points);
    double topMargin() const;    void setTopMargin(double points);
    double bottomMargin() const; void setBottomMargin(double points);
    double headerMargin() const; void setHeaderMargin(double points);
    double footerMargin() const; void setFooterMargin(double points);
    int fitToPagesWide() const;  void setFitToPagesWide(int pages);
    int fitToPagesTall() const;  void setFitToPagesTall(int pages);
    Orientation orientation() const; void setOrientation(Orientation orientation);
    int paperSize() const;       void setPaperSize(int size);
    // 10..400; anything else raises HostError and keeps the old value. zoom() is 0 while
    // the sheet is fitted to pages (the host's Zoom = False).
    int zoom() const;            void setZoom(int percent);
    void setZoomOff();           // fit to FitToPagesWide x FitToPagesTall

private:
    enum class Margin { Left, Right, Top, Bottom, Header, Footer };
    double margin(Margin which) const;
    void setMargin(Margin which, double points, const char *property);

    Worksheet *sheet_;
};

} // namespace host
