// The registry window on a full archive (32,767 subjects): activation with its list fill,
// picking the last name, and adding, modifying and deleting at the bottom of the registry, and
// the check for a subject entered twice, each as the median of several runs against its target.
#include "registry/Anagrafe.h"
#include "spreadsheet/Application.h"
#include "archive/Archive.h"
#include "registry/DuplicateNotice.h"
#include "app/Form1.h"
#include "root/Forms.h"
#include "FullRegistry.h"
#include "model/Registry.h"
#include "StartedProgram.h"
#include "Timing.h"
#include "root/VelmoroApplication.h"

#include <QComboBox>
#include <QDir>
#include <algorithm>
#include <cstdio>

namespace {

constexpr int kSubjects = bench::kFullRegistry;
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
    QString saveFileName(const QString &, const QString &, const QString &) override { return {}; }
    void printPreview(QPrintPreviewDialog &) override {}
};

model::Fields subject(int i)
{
    const QStringList texts = bench::subjectTexts(i);
    model::Fields fields;
    std::copy(texts.begin(), texts.end(), fields.begin());
    return fields;
}

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    root::VelmoroApplication qapp(argc, argv);
    const QString path = QDir::tempPath() + QStringLiteral("/velmoro-registry-bench/Archivio.xls");
    if (!bench::makeArchive(path, kSubjects))
        return 1;
    YesDialogs dialogs;
    bench::StartedProgram started(dialogs, path);
    if (!started.start())
        return 1;
    root::Forms &forms = started.forms;
    registry::Anagrafe &window = *forms.anagrafe();
    window.show();
    auto *combo = window.findChild<QComboBox *>(QStringLiteral("Combo1"));
    const model::Registry registry(forms.session().host());

    std::printf("registry window, %d subjects, median of %d runs:\n", kSubjects, kRuns);
    bench::report("activation with the list fill", bench::medianMs(kRuns, [&] { window.FormActivate(); }), 60);
    const int last = combo->count() - 1;
    bench::report("picking the last name",
                  bench::medianMs(kRuns, [&] { emit combo->activated(last); }, [&] { combo->setCurrentIndex(last); }), 30);
    bench::report("modify the last subject", bench::medianMs(kRuns, [&] { registry.modify(subject(kSubjects)); }), 30);

    int lastId = kSubjects;
    bench::report("delete the last subject", bench::medianMs(kRuns, [&] { registry.remove(QString::number(lastId--)); }), 30);
    // Rows 2..32,766 filled again, so every add searches down to row 32,767.
    int refused = 0;
    const auto add = [&] {
        model::Fields fields = subject(0);
        refused += registry.add(fields).has_value();
        return fields[0];
    };
    for (int row = kSubjects - kRuns + 2; row < archive::kLastRow; ++row)
        add();
    QString added;
    bench::report("add into the last free row", bench::medianMs(kRuns, [&] { added = add(); }, [&] {
        if (!added.isEmpty())
            registry.remove(added);
    }), 30);
    // Before the question of an add: the subjects holding its partita IVA or codice fiscale.
    const model::Fields twice = subject(kSubjects / 2);
    QString warning;
    bench::report("duplicate check before an add", bench::medianMs(kRuns, [&] {
        warning = registry::duplicateWarning(archive::RegistrySheet(forms.session().host()), twice);
    }), 30);
    if (warning.isEmpty()) {
        std::fprintf(stderr, "the duplicate check found nothing\n");
        return 1;
    }
    if (refused > 0) {
        std::fprintf(stderr, "%d adds were refused\n", refused);
        return 1;
    }
    std::printf("  (the list reload after a command is the activation's list fill)\n");
    return dialogs.boxes == 0 ? 0 : 1;
}
