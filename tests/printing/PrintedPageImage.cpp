// The first page the print job prints for a fresh archive holding a few office subjects, as a
// PNG: the registry printed through the printer window with the zoom and orientation given.
// Usage: printed_page_image OUT.png ZOOM verticale|orizzontale
#include "OfficeSubjects.h"
#include "spreadsheet/print/PagePainter.h"
#include "printing/StampaP.h"
#include "root/VelmoroApplication.h"
#include "TestRun.h"

#include <QCheckBox>
#include <QComboBox>
#include <QImage>
#include <QPainter>
#include <QPushButton>

#include <cstdio>

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    root::VelmoroApplication qapp(argc, argv);
    const QStringList arguments = QCoreApplication::arguments();
    if (arguments.size() != 4 || (arguments[3] != QLatin1String("verticale") && arguments[3] != QLatin1String("orizzontale"))) {
        std::fputs("Uso: printed_page_image OUT.png ZOOM verticale|orizzontale\n", stderr);
        return 2;
    }
    QTemporaryDir folder;
    const QString archive = folder.filePath(QStringLiteral("Archivio.xls"));
    archive_files::makeFresh(archive);
    TestRun run(archive);
    if (!run.start())
        return 1;
    office_subjects::add(run.host()->activeSheet());
    run.printers.installed = QStringList{QStringLiteral("PDF")};
    run.control<QCheckBox>("Check2")->click();
    run.forms->stampaP()->findChild<QComboBox *>(QStringLiteral("Combo1"))->setEditText(QStringLiteral("PDF"));
    run.dialogs.typed = {arguments[2]};
    run.dialogs.answers = {arguments[3] == QLatin1String("verticale") ? platform::Dialogs::Answer::Yes
                                                                       : platform::Dialogs::Answer::No,
                           platform::Dialogs::Answer::Yes};
    run.forms->stampaP()->findChild<QPushButton *>(QStringLiteral("Command1"))->click();
    if (run.printers.jobs.empty()) {
        std::fputs("printed_page_image: nothing printed\n", stderr);
        return 1;
    }
    const host::PrintedPage &page = run.printers.jobs.front().pages.front();
    constexpr double kDotsPerPoint = 2;
    QImage image((page.paper * kDotsPerPoint).toSize(), QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        painter.setRenderHint(QPainter::TextAntialiasing);
        host::paintPage(painter, page, kDotsPerPoint);
    }
    return image.save(arguments[1]) ? 0 : 1;
}
