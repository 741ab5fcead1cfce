#include "StampaP.h"

#include "PrintPreview.h"
#include "PrintRegistryPages.h"

#include "kit/ArchiveSession.h"
#include "kit/Context.h"
#include "kit/DefaultButton.h"
#include "kit/Look.h"
#include "kit/Product.h"
#include "kit/Services.h"

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

template <class Control> Control *place(Control *control, const char *name, QRect where, double points)
{
    control->setObjectName(QString::fromLatin1(name));
    control->setGeometry(where);
    control->setFont(kit::windowFont(points, true));
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

StampaP::StampaP(kit::Context &context) : context_(context)
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
    Label5 = place(kit::makeOfferLabel(*this), "Label5", fromTwips(360, 3000, 3975, 615), 9.75);
    Label5->setWordWrap(true);

    kit::setDefaultButton(*this, *Command1);
    connect(Command1, &QPushButton::clicked, this, context_.guard.slot(this, &StampaP::Command1Click));
    connect(Command2, &QPushButton::clicked, this, context_.guard.slot(this, &StampaP::Command2Click));
}

void StampaP::load()
{
    const platform::Printers &printers = context_.services.printers;
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
    context_.services.dialogs.messageBox(QStringLiteral("Seleziona prima una stampante dall'elenco."),
                                         kit::kDefaultTitle, platform::Dialogs::Buttons::Ok,
                                         platform::Dialogs::Icon::Exclamation);
    return false;
}

void StampaP::Command1Click()
{
    if (!printerChosen())
        return;
    if (PrintRegistryPages(context_, printerName()).run()) {
        hide();
        emit printFinished();
    }
    context_.session.save();
}

void StampaP::Command2Click()
{
    if (printerChosen())
        previewRegistryPages(context_, printerName(), *this);
}

} // namespace printing
