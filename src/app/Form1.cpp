#include "Form1.h"

#include "ExportForAccountant.h"

#include "kit/ArchiveSession.h"
#include "kit/Clock.h"
#include "kit/Context.h"
#include "kit/Logo.h"
#include "kit/Look.h"
#include "kit/Product.h"
#include "kit/Services.h"

#include <QAction>
#include <QCheckBox>
#include <QCloseEvent>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTimer>
#include <QUrl>

namespace app {

namespace {

using platform::Dialogs;

void uncheck(QCheckBox *box)
{
    const QSignalBlocker quiet(box);
    box->setChecked(false);
}

} // namespace

Form1::Form1(kit::Context &context, std::function<void()> unloadOtherWindows)
    : context_(context), UnloadOtherWindows(std::move(unloadOtherWindows))
{
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(kit::mainTitle());

    Util = menuBar()->addAction(QStringLiteral("&Utilità/Progressivi"));
    Util->setObjectName(QStringLiteral("Util"));
    Esporta = menuBar()->addAction(QStringLiteral("&Esporta CSV per il commercialista..."));
    Esporta->setObjectName(QStringLiteral("Esporta"));

    setCentralWidget(makeControls());
    Timer1 = kit::makeClock(*this, *Text1, context_.services.regional);

    connect(Check1, &QCheckBox::toggled, this, context_.guard.slot(this, &Form1::onCheck1Toggled));
    connect(Check2, &QCheckBox::toggled, this, context_.guard.slot(this, &Form1::onCheck2Toggled));
    connect(Check3, &QCheckBox::toggled, this, context_.guard.slot(this, &Form1::onCheck3Toggled));
    connect(Check5, &QCheckBox::toggled, this, context_.guard.slot(this, &Form1::onCheck5Toggled));
    connect(Command1, &QPushButton::clicked, this, context_.guard.slot(this, &Form1::CloseHostAndExit));
    connect(Util, &QAction::triggered, this, &Form1::utilitiesRequested);
    connect(Esporta, &QAction::triggered, this, context_.guard.slot(this, &Form1::EsportaClick));
}

QWidget *Form1::makeControls()
{
    auto *central = new QWidget(this);
    auto *grid = new QGridLayout(central);
    grid->setContentsMargins(16, 12, 16, 12);
    grid->setHorizontalSpacing(18);
    grid->setVerticalSpacing(8);

    Image1 = new QLabel(central);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setPixmap(kit::logoPixmap(112));
    Image1->setToolTip(kit::kPictureTip);
    Image1->setCursor(Qt::PointingHandCursor);
    Image1->installEventFilter(this);
    grid->addWidget(Image1, 0, 0, 4, 1, Qt::AlignTop | Qt::AlignHCenter);

    auto makeCheck = [&](const char *name, const QString &caption, int row) {
        auto *box = new QCheckBox(caption, central);
        box->setObjectName(QString::fromLatin1(name));
        grid->addWidget(box, row, 1, 1, 2);
        return box;
    };
    Check1 = makeCheck("Check1", u' ' + kit::kManagementTitle + u' ', 0);
    Check2 = makeCheck("Check2", QStringLiteral(" Stampe"), 1);
    Check3 = makeCheck("Check3", QStringLiteral("Excel"), 2);
    Check5 = makeCheck("Check5", QStringLiteral("LEGGI   le   Istruzioni/Termini di utilizzo "), 3);
    addBottomRows(grid);
    return central;
}

void Form1::addBottomRows(QGridLayout *grid)
{
    QWidget *central = grid->parentWidget();
    Label5 = kit::makeOfferLabel(*central);
    grid->addWidget(Label5, 4, 0, 1, 3);

    Label1 = new QLabel(kit::versionText(), central);
    Label1->setObjectName(QStringLiteral("Label1"));
    grid->addWidget(Label1, 5, 0);

    Text1 = new QLineEdit(central);
    Text1->setObjectName(QStringLiteral("Text1"));
    Text1->setAccessibleName(QStringLiteral("Ora"));
    Text1->setReadOnly(true);
    Text1->setFocusPolicy(Qt::NoFocus);
    Text1->setMinimumWidth(Text1->fontMetrics().horizontalAdvance(kit::kClockPrefix + QStringLiteral("00:00:00 MM")) + 16);
    grid->addWidget(Text1, 5, 1);

    Command1 = new QPushButton(QStringLiteral("Esci"), central);
    Command1->setObjectName(QStringLiteral("Command1"));
    grid->addWidget(Command1, 5, 2, Qt::AlignRight);
    grid->setColumnStretch(1, 1);
}

void Form1::load()
{
    if (!context_.session.open())
        return;
    Timer1->start();
    show();
}

void Form1::EsportaClick()
{
    if (host::Application *app = context_.session.application())
        exportForAccountant(*app, context_.services.dialogs);
}

void Form1::setRegistryBoxChecked(bool checked)
{
    const QSignalBlocker quiet(Check1);
    Check1->setChecked(checked);
}

void Form1::setPrintBoxChecked(bool checked)
{
    const QSignalBlocker quiet(Check2);
    Check2->setChecked(checked);
}

void Form1::closeEvent(QCloseEvent *event)
{
    event->ignore();
}

bool Form1::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == Image1 && event->type() == QEvent::MouseButtonPress)
        Image1MouseDown();
    return QMainWindow::eventFilter(watched, event);
}

void Form1::Image1MouseDown()
{
    Image1->setFrameShape(QFrame::Box);
    Image1->setLineWidth(1);
    context_.services.shell.open(QUrl(kit::kWebAddress));
}

void Form1::onCheck1Toggled(bool checked)
{
    if (!checked)
        return;
    uncheck(Check2);
    uncheck(Check3);
    if (!context_.session.save()) {
        uncheck(Check1);
        return;
    }
    emit registryRequested();
}

void Form1::onCheck2Toggled(bool checked)
{
    if (!checked)
        return;
    uncheck(Check1);
    uncheck(Check2);
    uncheck(Check3);
    if (context_.session.save())
        emit printRequested();
}

void Form1::onCheck3Toggled(bool checked)
{
    if (checked)
        HandOverToHost();
}

void Form1::onCheck5Toggled(bool checked)
{
    if (!checked)
        return;
    hide();
    emit instructionsRequested();
}

void Form1::HandOverToHost()
{
    uncheck(Check1);
    uncheck(Check2);
    // When nothing can show the archive, the windows stay as they are.
    if (!context_.session.save() || !context_.session.handOver()) {
        uncheck(Check3);
        return;
    }
    UnloadOtherWindows();
    context_.services.program.end(0);
}

bool Form1::givesUpUnsavedChanges()
{
    return context_.services.dialogs.messageBox(QStringLiteral("Uscire senza salvare? Le modifiche andranno perse"),
                                                kit::kDefaultTitle, Dialogs::Buttons::YesNoDefaultNo,
                                                Dialogs::Icon::Exclamation) == Dialogs::Answer::Yes;
}

void Form1::CloseHostAndExit()
{
    UnloadOtherWindows();
    bool saved = false;
    if (context_.session.hostRunning()) {
        // Changes that cannot be saved keep the program running, so the user can retry,
        // unless the user gives them up.
        saved = context_.session.save();
        if (!saved && !givesUpUnsavedChanges())
            return;
    }
    context_.session.close(saved);
    context_.services.program.end(0);
}

} // namespace app
