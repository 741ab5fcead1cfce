#include "StampaP.h"

#include "ArchiveSave.h"
#include "DefaultButton.h"
#include "Form1.h"
#include "Forms.h"
#include "PrintPreview.h"
#include "PrintRegistryPages.h"
#include "Product.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace printing {

namespace {

const QString kCrLf = QStringLiteral("\r\n");
const QString kNoPrinterChosen = QStringLiteral("Seleziona la stampante");

// Positions and sizes are given in twips; the window has 15 twips to a pixel.
QRect fromTwips(int left, int top, int width, int height)
{
    return QRect(left / 15, top / 15, width / 15, height / 15);
}

QFont calibri(double points)
{
    QFont font(QStringLiteral("Calibri"));
    font.setPointSizeF(points);
    font.setBold(true);
    return font;
}

template <class Control> Control *place(Control *control, const char *name, QRect where, double points)
{
    control->setObjectName(QString::fromLatin1(name));
    control->setGeometry(where);
    control->setFont(calibri(points));
    return control;
}

QString defaultPrinterText(const QString &defaultName, bool anyInstalled)
{
    if (!defaultName.isEmpty())
        return QStringLiteral("La stampante predefinita è: ") + kCrLf + defaultName;
    if (anyInstalled)
        return QStringLiteral("La stampante predefinita è: ") + kCrLf + QStringLiteral("nessuna");
    return QStringLiteral("Nessuna stampante installata:") + kCrLf + QStringLiteral("impossibile stampare.");
}

} // namespace

StampaP::StampaP(app::Forms &forms) : forms_(forms)
{
    setObjectName(QStringLiteral("StampaP"));
    setWindowTitle(QStringLiteral("Seleziona Stampante"));
    setFixedSize(fromTwips(0, 0, 4815, 4020).size());

    Combo1 = place(new QComboBox(this), "Combo1", fromTwips(600, 600, 3615, 345), 9.75);
    Combo1->setEditable(true);
    Combo1->setInsertPolicy(QComboBox::NoInsert);
    Combo1->setAccessibleName(QStringLiteral("Stampante"));
    Command1 = place(new QPushButton(QStringLiteral("Seleziona"), this), "Command1",
                     fromTwips(600, 1320, 2115, 375), 11.25);
    Command2 = place(new QPushButton(QStringLiteral("Anteprima"), this), "Command2",
                     fromTwips(2835, 1320, 1380, 375), 11.25);
    Label1 = place(new QLabel(this), "Label1", fromTwips(600, 2160, 3615, 495), 11.25);
    Label5 = place(new QLabel(QStringLiteral("Se di interesse si realizzano applicazioni o personalizzazioni  "), this),
                   "Label5", fromTwips(360, 3000, 3975, 615), 9.75);
    Label5->setWordWrap(true);

    app::setDefaultButton(*this, *Command1);
    connect(Command1, &QPushButton::clicked, this, &StampaP::Command1Click);
    connect(Command2, &QPushButton::clicked, this, [this] {
        if (printerChosen())
            previewRegistryPages(forms_, *this);
    });
}

void StampaP::load()
{
    const platform::Printers &printers = forms_.services().printers;
    const QStringList names = printers.names();
    Combo1->clear();
    Combo1->addItems(names);
    Combo1->setCurrentIndex(-1);
    Combo1->setEditText(kNoPrinterChosen);
    Label1->setText(defaultPrinterText(printers.defaultName(), !names.isEmpty()));
}

QString StampaP::printerName() const
{
    return Combo1->currentText();
}

bool StampaP::printerChosen()
{
    const QString printer = printerName().trimmed();
    if (!printer.isEmpty() && printer != kNoPrinterChosen)
        return true;
    forms_.services().dialogs.messageBox(QStringLiteral("Seleziona prima una stampante dall'elenco."),
                                         app::kDefaultTitle, platform::Dialogs::Buttons::Ok,
                                         platform::Dialogs::Icon::Exclamation);
    return false;
}

void StampaP::Command1Click()
{
    if (!printerChosen())
        return;
    PrintRegistryPages(forms_, *this).run();
    app::saveArchive(*forms_.form1()->application(), forms_.services().dialogs);
}

} // namespace printing
