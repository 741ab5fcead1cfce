// The registry window on a full archive (32,767 subjects): activation with its list fill,
// picking the last name, and adding, modifying and deleting at the bottom of the registry,
// each as the median of several runs against its target.
#include "Anagrafe.h"
#include "Application.h"
#include "Archive.h"
#include "Form1.h"
#include "Forms.h"
#include "Launcher.h"
#include "PrinterTarget.h"
#include "QtPrinters.h"
#include "Registry.h"
#include "VelmoroApplication.h"

#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

constexpr int kSubjects = 32767;
constexpr int kRuns = 9;

// Every question answered Yes, every box counted.
class YesDialogs : public platform::Dialogs {
public:
    int boxes = 0;
    Answer messageBox(const QString &, const QString &, Buttons buttons, Icon) override
    {
        ++boxes;
        return buttons == Buttons::YesNo ? Answer::Yes : Answer::Ok;
    }
    QString inputBox(const QString &, const QString &, const QString &) override { return {}; }
};

class StayingProgram : public platform::Program {
public:
    void end(int) override { ended_ = true; }
    bool ended() const override { return ended_; }

private:
    bool ended_ = false;
};

class NoShell : public platform::Shell {
public:
    bool open(const QUrl &) override { return false; }
};

registry::Fields subject(int i)
{
    const QString n = QString::number(i).rightJustified(5, u'0');
    return {QString::number(i), QStringLiteral("COGNOME%1 NOME%1").arg(n), QStringLiteral("C") + n,
            QStringLiteral("12/03/2024"), QStringLiteral("VIA ROMA %1").arg(i % 300 + 1), QStringLiteral("00184"),
            QStringLiteral("ROMA"), QStringLiteral("RM"), QStringLiteral("06") + n, QStringLiteral("06") + n,
            QStringLiteral("333") + n, QStringLiteral("posta%1@example.org").arg(n),
            QStringLiteral("RSSMRA80A01H%1U").arg(n.right(3)), QStringLiteral("012345") + n,
            QStringLiteral("REFERENTE %1").arg(n), QStringLiteral("BANCA %1").arg(i % 50),
            QStringLiteral("INTESTATARIO %1").arg(n), QStringLiteral("IT60X05428111010000001") + n};
}

bool makeArchive(const QString &path)
{
    if (QFile::exists(path))
        return true;
    QDir().mkpath(QFileInfo(path).path());
    archive::CreateArchive(path);
    host::Application app(Regional::italian());
    host::Workbook &book = app.open(path, archive::kPassword);
    host::Worksheet &sheet = book.sheets(archive::kSheetName);
    for (int i = 1; i <= kSubjects; ++i) {
        const registry::Fields fields = subject(i);
        for (int column = 1; column <= archive::kFieldCount; ++column)
            sheet.cells(i + 1, column).setValue(fields[std::size_t(column - 1)]);
    }
    sheet.range(archive::kCounterCell).setValue(double(kSubjects));
    book.save();
    return true;
}

double median(int runs, const std::function<void()> &prepare, const std::function<void()> &step)
{
    std::vector<double> ms;
    for (int run = 0; run < runs; ++run) {
        prepare();
        QElapsedTimer clock;
        clock.start();
        step();
        ms.push_back(clock.nsecsElapsed() / 1e6);
    }
    std::sort(ms.begin(), ms.end());
    return ms[ms.size() / 2];
}

void report(const char *what, double ms, double target)
{
    std::printf("  %-44s %7.2f ms  target %4.0f ms  ratio %.2f  %s\n", what, ms, target, ms / target,
                ms < target ? "ok" : "OVER TARGET");
}

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    app::VelmoroApplication qapp(argc, argv);
    const QString path = QDir::tempPath() + QStringLiteral("/velmoro-registry-bench/Archivio.xls");
    if (!makeArchive(path)) {
        std::fprintf(stderr, "could not make %s\n", qPrintable(path));
        return 1;
    }
    YesDialogs dialogs;
    StayingProgram program;
    NoShell shell;
    platform::QtPrinters printers;
    host::PrinterTarget printTarget;
    app::Forms forms(app::Services{dialogs, program, shell, printers, printTarget, path, Regional::italian(), {}});
    if (!app::startUp(forms))
        return 1;
    registry::Anagrafe &window = *forms.anagrafe();
    window.show();
    auto *combo = window.findChild<QComboBox *>(QStringLiteral("Combo1"));
    const registry::Registry registry(*forms.form1()->application());
    const auto none = [] {};

    std::printf("registry window, %d subjects, median of %d runs:\n", kSubjects, kRuns);
    report("activation with the list fill", median(kRuns, none, [&] { window.FormActivate(); }), 60);
    const int last = combo->count() - 1;
    report("picking the last name", median(kRuns, [&] { combo->setCurrentIndex(last); }, [&] {
        emit combo->activated(last);
    }), 30);
    report("modify the last subject", median(kRuns, none, [&] { registry.modify(subject(kSubjects)); }), 30);

    int lastId = kSubjects;
    report("delete the last subject", median(kRuns, none, [&] { registry.remove(QString::number(lastId--)); }), 30);
    // Rows 2..32,766 filled again, so every add searches down to row 32,767.
    int refused = 0;
    const auto add = [&] {
        registry::Fields fields = subject(0);
        refused += registry.add(fields).has_value();
        return fields[0];
    };
    for (int row = kSubjects - kRuns + 2; row < registry::Registry::kLastRow; ++row)
        add();
    QString added;
    report("add into the last free row", median(kRuns, [&] {
        if (!added.isEmpty())
            registry.remove(added);
    }, [&] { added = add(); }), 30);
    if (refused > 0) {
        std::fprintf(stderr, "%d adds were refused\n", refused);
        return 1;
    }
    std::printf("  (the list reload after a command is the activation's list fill)\n");
    return dialogs.boxes == 0 ? 0 : 1;
}
