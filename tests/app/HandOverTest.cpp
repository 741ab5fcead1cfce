// How the archive reaches the user after "Excel": through the LibreOffice helper, or the
// desktop's application for .xls when the helper is missing or finds no LibreOffice; that
// application found as the desktop's opener finds it, in a desktop of the test's own. Real
// message boxes: the answer each key gives, the safe default of a question, Qt's own buttons
// in Italian.
#include "ArchiveFiles.h"
#include "archive/Columns.h"
#include "platform/DesktopShell.h"
#include "FakeDialogs.h"
#include "FakeShell.h"
#include "root/HandOver.h"
#include "platform/QtDialogs.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMessageBox>
#include <QPushButton>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

using Route = root::HandOver::Route;

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
        // It notes what it reads on standard input, then its arguments.
        archive_files::write(helper, "#!/bin/sh\n{ cat; printf '%s\\n' \"$@\"; } > \"$(dirname \"$0\")/seen.txt\"\n" +
                                         QByteArray(c.script));
        QFile::setPermissions(helper, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
    FakeDialogs dialogs;
    FakeShell shell;
    shell.succeeds = c.shellSucceeds;
    root::HandOver handOver(dialogs, shell, helper, archive::kPassword, {QStringLiteral("--headless")});

    EXPECT_EQ(handOver.present(archive), c.route);

    const bool desktop = !c.script || QByteArray(c.script).contains("exit 3");
    EXPECT_EQ(shell.opened, desktop ? std::vector{QUrl::fromLocalFile(archive)} : std::vector<QUrl>{});
    ASSERT_EQ(dialogs.boxes.size(), c.message ? 1u : 0u);
    if (c.message) {
        EXPECT_TRUE(dialogs.boxes[0].text.contains(QString::fromUtf8(c.message))) << dialogs.boxes[0].text.toStdString();
    }
    if (c.script) { // the password goes on standard input, never on the command line
        EXPECT_EQ(QString::fromUtf8(contents(folder.filePath(QStringLiteral("seen.txt")))),
                  archive::kPassword + QStringLiteral("\n--headless\n") + archive + u'\n');
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, HandOverRoute, testing::Values(
    HelperCase{"libreoffice_loaded_it", "exit 0\n", true, Route::LibreOffice, nullptr},
    HelperCase{"no_libreoffice", "exit 3\n", true, Route::DesktopDefault, nullptr},
    HelperCase{"no_helper", nullptr, true, Route::DesktopDefault, nullptr},
    HelperCase{"load_failed", "echo 'Password errata per Archivio.xls' >&2\nexit 2\n", true, Route::Failed,
               "Password errata per Archivio.xls"},
    HelperCase{"helper_broke", "exit 1\n", true, Route::Failed, "LibreOffice"},
    HelperCase{"nothing_opens_xls", "exit 3\n", false, Route::Failed, "Archivio.xls.\nL'archivio è salvato"}),
    [](const testing::TestParamInfo<HelperCase> &info) { return std::string(info.param.name); });

struct Registration {
    const char *name;
    const char *mimeapps;    // the [Default Applications] line, or "" for none
    const char *declares;    // the MimeType of the installed desktop entry; nullptr: none installed
    const char *application; // what is found
};

void PrintTo(const Registration &r, std::ostream *out) { *out << r.name; }

class ApplicationForXls : public testing::TestWithParam<Registration> {
protected:
    void SetUp() override
    {
        if (QStandardPaths::findExecutable(QStringLiteral("xdg-mime")).isEmpty())
            GTEST_SKIP() << "xdg-mime (xdg-utils) is not installed";
        // The system's type database stays; its applications do not. No desktop session.
        const QString types = QStandardPaths::locate(QStandardPaths::GenericDataLocation, QStringLiteral("mime"),
                                                     QStandardPaths::LocateDirectory);
        for (const char *name : {"XDG_CONFIG_HOME", "XDG_CONFIG_DIRS", "XDG_DATA_HOME", "XDG_DATA_DIRS",
                                 "XDG_CURRENT_DESKTOP", "DESKTOP_SESSION"}) {
            saved.emplace_back(name, qgetenv(name));
            qputenv(name, QByteArray(name).contains("DESKTOP") ? QByteArray() : path(name).toUtf8());
        }
        QDir().mkpath(path("XDG_DATA_HOME"));
        QFile::link(types, path("XDG_DATA_HOME/mime"));
    }
    void TearDown() override
    {
        for (const auto &[name, value] : saved)
            value.isNull() ? qunsetenv(name) : qputenv(name, value);
    }
    QString path(const char *name) { return desktop.filePath(QString::fromLatin1(name)); }

    QTemporaryDir desktop;
    std::vector<std::pair<const char *, QByteArray>> saved;
};

TEST_P(ApplicationForXls, IsTheRegisteredOneThatIsInstalled)
{
    const Registration &r = GetParam();
    archive_files::write(path("XDG_CONFIG_HOME/mimeapps.list"), QByteArray("[Default Applications]\n") + r.mimeapps + "\n");
    if (r.declares) {
        archive_files::write(path("XDG_DATA_HOME/applications/foglio.desktop"),
                             QByteArray("[Desktop Entry]\nType=Application\nName=Foglio\nExec=true %f\nMimeType=") +
                                 r.declares + "\n");
    }
    const QString archive = path("Archivio.xls");

    EXPECT_EQ(platform::DesktopShell::applicationFor(archive), QString::fromLatin1(r.application));
    if (!*r.application) {
        EXPECT_FALSE(platform::DesktopShell().open(QUrl::fromLocalFile(archive)));
    }
}

INSTANTIATE_TEST_SUITE_P(Desktops, ApplicationForXls, testing::Values(
    Registration{"default_and_installed", "application/vnd.ms-excel=foglio.desktop", "text/csv;", "foglio.desktop"},
    Registration{"default_but_removed", "application/vnd.ms-excel=foglio.desktop", nullptr, ""},
    Registration{"declared_by_its_entry", "", "application/vnd.ms-excel;", "foglio.desktop"},
    Registration{"only_for_another_type", "text/csv=foglio.desktop", "text/csv;", ""}),
    [](const testing::TestParamInfo<Registration> &info) { return std::string(info.param.name); });

using Answer = platform::Dialogs::Answer;
using Buttons = platform::Dialogs::Buttons;

struct KeyCase {
    const char *name;
    Buttons buttons;
    Qt::Key key;
    Answer answer;
};

void PrintTo(const KeyCase &c, std::ostream *out) { *out << c.name; }

class QtMessageBox : public testing::TestWithParam<KeyCase> {};

TEST_P(QtMessageBox, AnswersTheButtonTheKeyPresses)
{
    QStringList captions;
    QTimer press;
    QObject::connect(&press, &QTimer::timeout, [&] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (!box)
            return;
        press.stop();
        for (QAbstractButton *button : box->buttons())
            captions << button->text().remove(u'&');
        QTest::keyClick(box, GetParam().key);
    });
    press.start(10);

    platform::QtDialogs dialogs;
    EXPECT_EQ(dialogs.messageBox(QStringLiteral("Proseguire?"), QStringLiteral("Velmoro"),
                                 GetParam().buttons, platform::Dialogs::Icon::Exclamation),
              GetParam().answer);
    captions.sort();
    const QStringList expected = GetParam().buttons == Buttons::Ok ? QStringList{"OK"} : QStringList{"No", "Sì"};
    EXPECT_EQ(captions, expected);
}

INSTANTIATE_TEST_SUITE_P(
    Keys, QtMessageBox,
    testing::Values(KeyCase{"ok_on_enter", Buttons::Ok, Qt::Key_Return, Answer::Ok},
                    KeyCase{"yes_no_enter_is_yes", Buttons::YesNo, Qt::Key_Return, Answer::Yes},
                    KeyCase{"yes_no_escape_is_no", Buttons::YesNo, Qt::Key_Escape, Answer::No},
                    KeyCase{"default_no_enter_is_no", Buttons::YesNoDefaultNo, Qt::Key_Return, Answer::No},
                    KeyCase{"default_no_y_is_yes", Buttons::YesNoDefaultNo, Qt::Key_S, Answer::Yes}),
    [](const testing::TestParamInfo<KeyCase> &info) { return std::string(info.param.name); });

} // namespace
