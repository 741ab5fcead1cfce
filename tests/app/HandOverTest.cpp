// How the archive reaches the user after "Excel": through the LibreOffice helper, or the
// desktop's default application when the helper is missing or finds no LibreOffice.
#include "ArchiveFiles.h"
#include "FakeDialogs.h"
#include "FakeShell.h"
#include "HandOver.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

using Route = app::HandOver::Route;

struct HelperCase {
    const char *name;
    const char *script; // body of the helper; nullptr: no helper installed
    bool shellSucceeds;
    Route route;
    const char *message; // part of the one box expected, or nullptr for none
};

void PrintTo(const HelperCase &helper, std::ostream *out) { *out << helper.name; }

class HandOverRoute : public testing::TestWithParam<HelperCase> {};

QByteArray contents(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(unreadable)");
}

TEST_P(HandOverRoute, FollowsTheHelpersAnswer)
{
    const HelperCase &c = GetParam();
    QTemporaryDir folder;
    const QString helper = folder.filePath(QStringLiteral("velmoro-handover"));
    const QString archive = folder.filePath(QStringLiteral("Archivio.xls"));
    if (c.script) {
        archive_files::write(helper, QByteArray("#!/bin/sh\n"
                                                "cat > \"$(dirname \"$0\")/stdin.txt\"\n"
                                                "printf '%s\\n' \"$@\" > \"$(dirname \"$0\")/args.txt\"\n") +
                                         c.script);
        QFile::setPermissions(helper, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
    FakeDialogs dialogs;
    FakeShell shell;
    shell.succeeds = c.shellSucceeds;
    app::HandOver handOver(dialogs, shell, helper, QStringLiteral("TRVX5093MQP"),
                           {QStringLiteral("--headless")});

    EXPECT_EQ(handOver.present(archive), c.route);

    const bool desktop = !c.script || QByteArray(c.script).contains("exit 3");
    ASSERT_EQ(shell.opened.size(), desktop ? 1u : 0u);
    if (desktop) {
        EXPECT_EQ(shell.opened[0], QUrl::fromLocalFile(archive));
    }
    ASSERT_EQ(dialogs.boxes.size(), c.message ? 1u : 0u);
    if (c.message) {
        EXPECT_TRUE(dialogs.boxes[0].text.contains(QString::fromUtf8(c.message)))
            << dialogs.boxes[0].text.toStdString();
    }
    if (c.script) { // the password goes on standard input, never on the command line
        EXPECT_EQ(contents(folder.filePath(QStringLiteral("stdin.txt"))), QByteArray("TRVX5093MQP\n"));
        EXPECT_EQ(QString::fromUtf8(contents(folder.filePath(QStringLiteral("args.txt")))),
                  QStringLiteral("--headless\n") + archive + u'\n');
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, HandOverRoute,
    testing::Values(
        HelperCase{"libreoffice_loaded_it", "exit 0\n", true, Route::LibreOffice, nullptr},
        HelperCase{"no_libreoffice", "exit 3\n", true, Route::DesktopDefault, nullptr},
        HelperCase{"no_helper", nullptr, true, Route::DesktopDefault, nullptr},
        HelperCase{"load_failed", "echo 'Password errata per Archivio.xls' >&2\nexit 2\n", true,
                   Route::Failed, "Password errata per Archivio.xls"},
        HelperCase{"helper_broke", "exit 1\n", true, Route::Failed, "LibreOffice"},
        HelperCase{"nothing_opens_xls", "exit 3\n", false, Route::Failed,
                   "Archivio.xls.\nL'archivio è salvato"}),
    [](const testing::TestParamInfo<HelperCase> &info) { return std::string(info.param.name); });

} // namespace
