#include "Form1.h"

#include "Anagrafe.h"
#include "Archive.h"
#include "ArchiveSave.h"
#include "ErrorText.h"
#include "ExportForAccountant.h"
#include "Form2.h"
#include "Forms.h"
#include "HostError.h"
#include "Logo.h"
#include "OfficeLock.h"
#include "Product.h"
#include "Progressivi.h"
#include "StampaP.h"

#include <QAction>
#include <QCheckBox>
#include <QCloseEvent>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTime>
#include <QTimer>

namespace app {

namespace {

using platform::Dialogs;

const QString kStatusText = QStringLiteral("Archivio in uso da Gestione Velmoro");

// A step of a sequence that goes on whatever fails in it.
template <class Step> void ignoringErrors(Step step)
{
    try {
        step();
    } catch (...) {
    }
}

void uncheck(QCheckBox *box)
{
    const QSignalBlocker quiet(box);
    box->setChecked(false);
}

} // namespace

Form1::Form1(Forms &forms) : forms_(forms)
{
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(mainTitle());

    Util = menuBar()->addAction(QStringLiteral("&Utilità/Progressivi"));
    Util->setObjectName(QStringLiteral("Util"));
    Esporta = menuBar()->addAction(QStringLiteral("&Esporta CSV per il commercialista..."));
    Esporta->setObjectName(QStringLiteral("Esporta"));

    setCentralWidget(makeControls());

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(1000);

    connect(Check1, &QCheckBox::toggled, this, &Form1::onCheck1Toggled);
    connect(Check2, &QCheckBox::toggled, this, &Form1::onCheck2Toggled);
    connect(Check3, &QCheckBox::toggled, this, &Form1::onCheck3Toggled);
    connect(Check5, &QCheckBox::toggled, this, &Form1::onCheck5Toggled);
    connect(Command1, &QPushButton::clicked, this, &Form1::CloseHostAndExit);
    connect(Timer1, &QTimer::timeout, this, &Form1::Timer1Tick);
    connect(Util, &QAction::triggered, this, &Form1::UtilClick);
    connect(Esporta, &QAction::triggered, this, [this] {
        if (app_)
            exportForAccountant(*app_, forms_.services().dialogs);
    });
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
    Image1->setPixmap(logoPixmap(112));
    Image1->setToolTip(kPictureTip);
    Image1->setCursor(Qt::PointingHandCursor);
    Image1->installEventFilter(this);
    grid->addWidget(Image1, 0, 0, 4, 1, Qt::AlignTop | Qt::AlignHCenter);

    auto makeCheck = [&](const char *name, const QString &caption, int row) {
        auto *box = new QCheckBox(caption, central);
        box->setObjectName(QString::fromLatin1(name));
        grid->addWidget(box, row, 1, 1, 2);
        return box;
    };
    Check1 = makeCheck("Check1", QStringLiteral(" Gestione Velmoro "), 0);
    Check2 = makeCheck("Check2", QStringLiteral(" Stampe"), 1);
    Check3 = makeCheck("Check3", QStringLiteral("Excel"), 2);
    Check5 = makeCheck("Check5", QStringLiteral("LEGGI   le   Istruzioni/Termini di utilizzo "), 3);
    addBottomRows(grid);
    return central;
}

void Form1::addBottomRows(QGridLayout *grid)
{
    QWidget *central = grid->parentWidget();
    Label5 = new QLabel(QStringLiteral("Se di interesse si realizzano applicazioni o personalizzazioni  "),
                        central);
    Label5->setObjectName(QStringLiteral("Label5"));
    grid->addWidget(Label5, 4, 0, 1, 3);

    Label1 = new QLabel(versionText(), central);
    Label1->setObjectName(QStringLiteral("Label1"));
    grid->addWidget(Label1, 5, 0);

    Text1 = new QLineEdit(central);
    Text1->setObjectName(QStringLiteral("Text1"));
    Text1->setAccessibleName(QStringLiteral("Ora"));
    Text1->setReadOnly(true);
    Text1->setFocusPolicy(Qt::NoFocus);
    Text1->setMinimumWidth(Text1->fontMetrics().horizontalAdvance(QStringLiteral("Ore...00:00:00 MM")) + 16);
    grid->addWidget(Text1, 5, 1);

    Command1 = new QPushButton(QStringLiteral("Esci"), central);
    Command1->setObjectName(QStringLiteral("Command1"));
    grid->addWidget(Command1, 5, 2, Qt::AlignRight);
    grid->setColumnStretch(1, 1);
}

Form1::~Form1() = default;

void Form1::load()
{
    if (!claimArchive())
        return;
    Services &services = forms_.services();
    app_ = std::make_unique<host::Application>(services.regional);
    app_->setPresenter([this](host::Workbook &book) {
        handedOver_ = forms_.services().presenter(book) || handedOver_;
    });
    app_->setPrintTarget(&services.printTarget);
    book_ = &archive::OpenArchive(*app_, services.archivePath);
    app_->setVisible(false);
    app_->setStatusBar(kStatusText);
    archive::PrepareArchiveSheet(*app_);
    Timer1->start();
    show();
    started_ = true;
}

bool Form1::claimArchive()
{
    Services &services = forms_.services();
    const QString name = QFileInfo(services.archivePath).fileName();
    lock_ = std::make_unique<archive::ArchiveLock>(services.archivePath, kProductName);
    const archive::ArchiveLock::Result claimed = lock_->acquire();
    // Without the lock another copy could overwrite what this one saves: the archive is not
    // opened, as when the host cannot open it.
    if (claimed == archive::ArchiveLock::Result::Unavailable)
        throw host::HostError(host::ErrorKind::SaveFailed, host::kApplicationDefined,
                              QStringLiteral("Impossibile riservare l'archivio '%1' a questa copia di Velmoro: "
                                             "%2.\nL'archivio non viene aperto: senza la riserva un'altra copia "
                                             "potrebbe sovrascriverne le modifiche.")
                                  .arg(QDir::toNativeSeparators(services.archivePath), lock_->problem()));
    if (claimed == archive::ArchiveLock::Result::Acquired)
        archive::RemoveLeftovers(services.archivePath);
    if (claimed == archive::ArchiveLock::Result::HeldByAnotherCopy) {
        services.dialogs.messageBox(
            QStringLiteral("L'archivio %1 è già aperto da un'altra copia di Velmoro.\n"
                           "Chiudere l'altra copia (pulsante \"Esci\") e riavviare il programma.")
                .arg(name),
            kDefaultTitle, Dialogs::Buttons::Ok, Dialogs::Icon::Exclamation);
        services.program.end(1);
        return false;
    }
    const std::string archive = QFile::encodeName(services.archivePath).toStdString();
    if (const auto office = handover::OfficeLock::read(archive)) {
        const auto answer = services.dialogs.messageBox(
            QStringLiteral("L'archivio %1 risulta aperto in LibreOffice da %2.\n\n"
                           "Se è ancora aperto, le modifiche salvate da LibreOffice e quelle "
                           "salvate da Velmoro si sovrascrivono a vicenda.\n"
                           "Se LibreOffice è stato chiuso in modo anomalo, si può proseguire.\n\n"
                           "Proseguire comunque?")
                .arg(name, QString::fromStdString(office->holder())),
            kDefaultTitle, Dialogs::Buttons::YesNoDefaultNo, Dialogs::Icon::Exclamation);
        if (answer != Dialogs::Answer::Yes) {
            services.program.end(0);
            return false;
        }
    }
    return true;
}

bool Form1::saveArchiveOrReport()
{
    try {
        saveArchive(*app_, forms_.services().dialogs);
        return true;
    } catch (const std::exception &error) {
        forms_.services().dialogs.messageBox(failedSaveText(error), kDefaultTitle,
                                             Dialogs::Buttons::Ok, Dialogs::Icon::Exclamation);
        return false;
    }
}

bool Form1::saveBeforeEnding()
{
    return !started_ || !app_ || app_->hasQuit() || saveArchiveOrReport();
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

void Form1::Timer1Tick()
{
    Text1->setText(QStringLiteral("Ore...") +
                   forms_.services().regional.timeText(QTime::currentTime()));
}

void Form1::Image1MouseDown()
{
    Image1->setFrameShape(QFrame::Box);
    Image1->setLineWidth(1);
    forms_.services().shell.open(QUrl(kWebAddress));
}

void Form1::onCheck1Toggled(bool checked)
{
    if (!checked)
        return;
    uncheck(Check2);
    uncheck(Check3);
    if (!saveArchiveOrReport()) {
        uncheck(Check1);
        return;
    }
    registry::Anagrafe *anagrafe = forms_.anagrafe();
    anagrafe->show();
    anagrafe->raise();
    anagrafe->activateWindow();
}

void Form1::onCheck2Toggled(bool checked)
{
    if (!checked)
        return;
    uncheck(Check1);
    uncheck(Check2);
    uncheck(Check3);
    if (!saveArchiveOrReport())
        return;
    forms_.stampaP()->show();
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
    forms_.form2()->show();
}

void Form1::UtilClick()
{
    utilities::Progressivi *progressivi = forms_.progressivi();
    progressivi->show();
    progressivi->raise();
    progressivi->activateWindow();
}

void Form1::UnloadOtherWindows()
{
    QList<QPointer<QWidget>> windows;
    for (QWidget *window : forms_.loaded())
        windows.append(window);
    for (const QPointer<QWidget> &window : windows)
        // A window's closing steps may already have unloaded another.
        if (window && forms_.loaded().contains(window) && window->objectName() != objectName())
            ignoringErrors([&] { forms_.unload(window); });
}

void Form1::HandOverToHost()
{
    uncheck(Check1);
    uncheck(Check2);
    if (!saveArchiveOrReport()) {
        uncheck(Check3);
        return;
    }
    // Shown first, so that when nothing can show the archive the windows stay as they are.
    handedOver_ = false;
    app_->setVisible(true);
    if (!handedOver_) {
        app_->setVisible(false);
        uncheck(Check3);
        return;
    }
    UnloadOtherWindows();
    forms_.services().program.end(0);
}

bool Form1::givesUpUnsavedChanges()
{
    return forms_.services().dialogs.messageBox(QStringLiteral("Uscire senza salvare? Le modifiche andranno perse"),
                                                kDefaultTitle, Dialogs::Buttons::YesNoDefaultNo,
                                                Dialogs::Icon::Exclamation) == Dialogs::Answer::Yes;
}

void Form1::CloseHostAndExit()
{
    UnloadOtherWindows();
    if (app_ && !app_->hasQuit()) {
        // Changes that cannot be saved keep the program running, so the user can retry,
        // unless the user gives them up.
        const bool saved = saveArchiveOrReport();
        if (!saved && !givesUpUnsavedChanges())
            return;
        if (saved)
            ignoringErrors([&] { book_->saveAs(); });
        ignoringErrors([&] { book_->close(false); });
        ignoringErrors([&] { app_->quit(); });
    }
    book_ = nullptr;
    app_.reset();
    lock_.reset();
    forms_.services().program.end(0);
}

} // namespace app
