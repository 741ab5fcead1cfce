#include "Oracle.h"

#include "Columns.h"

#include <QFile>
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
    if (!process.waitForFinished(10 * 60 * 1000)) {
        process.kill();
        process.waitForFinished();
        ADD_FAILURE() << "timed out: " << program.toStdString();
        return -1;
    }
    if (out)
        *out = process.readAllStandardOutput();
    if (err)
        *err = process.readAllStandardError();
    return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
}

static QString python() { return QStringLiteral("/usr/bin/python3"); }

QJsonObject dump(const QString &file, const QString &engine)
{
    QByteArray out, err;
    const int rc = run(python(), {QStringLiteral(ORACLE_SCRIPT), "dump", file, "--password",
                                  archive::kPassword, "--engine", engine, "--compact"},
                       &out, &err);
    EXPECT_EQ(rc, 0) << err.toStdString();
    return QJsonDocument::fromJson(out).object();
}

void make(const QString &file, const QJsonObject &description)
{
    QTemporaryFile json;
    ASSERT_TRUE(json.open());
    json.write(QJsonDocument(description).toJson());
    json.flush();
    QByteArray err;
    const int rc = run(python(), {QStringLiteral(ORACLE_SCRIPT), "make", file, "--password",
                                  archive::kPassword, "--json", json.fileName(), "--quiet"},
                       nullptr, &err);
    ASSERT_EQ(rc, 0) << err.toStdString();
}

} // namespace oracle
