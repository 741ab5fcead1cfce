#include "Oracle.h"

#include "archive/Columns.h"

#include <QJsonDocument>
#include <QProcess>
#include <QTemporaryFile>
#include <gtest/gtest.h>

namespace oracle {

QString fixture(const QString &name)
{
    return QStringLiteral(FIXTURES_DIR "/") + name;
}

int run(const QString &program, const QStringList &arguments, QByteArray *out, QByteArray *err)
{
    QProcess process;
    process.start(program, arguments);
    process.waitForFinished(-1); // ctest's timeout ends a soffice that hangs
    if (out)
        *out = process.readAllStandardOutput();
    if (err)
        *err = process.readAllStandardError();
    return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
}

QJsonObject dump(const QString &file, const QString &engine)
{
    QByteArray out, err;
    EXPECT_EQ(run(QStringLiteral("/usr/bin/python3"), {QStringLiteral(ORACLE_SCRIPT), "dump", file, "--password",
                                                      archive::kPassword, "--engine", engine, "--compact"},
                  &out, &err), 0) << err.toStdString();
    return QJsonDocument::fromJson(out).object();
}

QJsonObject csvDump(const QString &file)
{
    QByteArray out, err;
    EXPECT_EQ(run(QStringLiteral("/usr/bin/python3"), {QStringLiteral(ORACLE_SCRIPT), "csvdump", file, "--compact"}, &out, &err), 0)
        << err.toStdString();
    return QJsonDocument::fromJson(out).object();
}

void make(const QString &file, const QJsonObject &description)
{
    QTemporaryFile json;
    ASSERT_TRUE(json.open());
    json.write(QJsonDocument(description).toJson());
    json.flush();
    QByteArray err;
    ASSERT_EQ(run(QStringLiteral("/usr/bin/python3"), {QStringLiteral(ORACLE_SCRIPT), "make", file, "--password",
                                                      archive::kPassword, "--json", json.fileName(), "--quiet"},
                  nullptr, &err), 0) << err.toStdString();
}

} // namespace oracle
