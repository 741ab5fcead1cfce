// Whether the desktop has an application for the archive's type, found as its opener finds it,
// in a desktop of the test's own (its configuration and data folders).
#include "DesktopShell.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

struct Registration {
    const char *name;
    const char *mimeapps;    // the [Default Applications] line, or "" for none
    const char *declares;    // the MimeType of the installed desktop entry; nullptr: none installed
    const char *application; // what is found
};

void PrintTo(const Registration &r, std::ostream *out) { *out << r.name; }

void writeFile(const QString &path, const QByteArray &text)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(text);
}

class ApplicationForXls : public testing::TestWithParam<Registration> {
protected:
    void SetUp() override
    {
        if (QStandardPaths::findExecutable(QStringLiteral("xdg-mime")).isEmpty())
            GTEST_SKIP() << "xdg-mime (xdg-utils) is not installed";
        // The system's type database stays; its applications do not. No desktop session.
        const QString types = QStandardPaths::locate(QStandardPaths::GenericDataLocation,
                                                     QStringLiteral("mime"), QStandardPaths::LocateDirectory);
        for (const char *name : {"XDG_CONFIG_HOME", "XDG_CONFIG_DIRS", "XDG_DATA_HOME", "XDG_DATA_DIRS",
                                 "XDG_CURRENT_DESKTOP", "DESKTOP_SESSION"}) {
            saved.emplace_back(name, qgetenv(name));
            qputenv(name, QByteArray(name).contains("DESKTOP") ? QByteArray()
                                                               : desktop.filePath(QString::fromLatin1(name)).toUtf8());
        }
        QDir().mkpath(desktop.filePath(QStringLiteral("XDG_DATA_HOME")));
        QFile::link(types, desktop.filePath(QStringLiteral("XDG_DATA_HOME/mime")));
    }
    void TearDown() override
    {
        for (const auto &[name, value] : saved)
            value.isNull() ? qunsetenv(name) : qputenv(name, value);
    }

    QTemporaryDir desktop;
    std::vector<std::pair<const char *, QByteArray>> saved;
};

TEST_P(ApplicationForXls, IsTheRegisteredOneThatIsInstalled)
{
    const Registration &r = GetParam();
    writeFile(desktop.filePath("XDG_CONFIG_HOME/mimeapps.list"),
              QByteArray("[Default Applications]\n") + r.mimeapps + "\n");
    if (r.declares) {
        writeFile(desktop.filePath("XDG_DATA_HOME/applications/foglio.desktop"),
                  QByteArray("[Desktop Entry]\nType=Application\nName=Foglio\nExec=true %f\nMimeType=") +
                      r.declares + "\n");
    }
    const QString archive = desktop.filePath(QStringLiteral("Archivio.xls"));

    EXPECT_EQ(platform::DesktopShell::applicationFor(archive), QString::fromLatin1(r.application));
    if (!*r.application) {
        EXPECT_FALSE(platform::DesktopShell().open(QUrl::fromLocalFile(archive)));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Desktops, ApplicationForXls,
    testing::Values(
        Registration{"default_and_installed", "application/vnd.ms-excel=foglio.desktop", "text/csv;", "foglio.desktop"},
        Registration{"default_but_removed", "application/vnd.ms-excel=foglio.desktop", nullptr, ""},
        Registration{"declared_by_its_entry", "", "application/vnd.ms-excel;", "foglio.desktop"},
        Registration{"only_for_another_type", "text/csv=foglio.desktop", "text/csv;", ""}),
    [](const testing::TestParamInfo<Registration> &info) { return std::string(info.param.name); });

} // namespace
