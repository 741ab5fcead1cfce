#pragma once

#include <QJsonObject>
#include <QString>
#include <QStringList>

// Runs the LibreOffice-backed oracle (tools/oracle/xls_oracle.py).
namespace oracle {

QString fixture(const QString &name);
// `xls_oracle.py dump`; engine "lo" or "xlrd". Fails the current test on error.
QJsonObject dump(const QString &file, const QString &engine = QStringLiteral("lo"));
// `xls_oracle.py csvdump`: the cells LibreOffice shows for a CSV opened as an Italian user opens
// it, {"dialog_defaults": {"A1": text}, "evaluate_formulas": {...}}. Fails the current test on error.
QJsonObject csvDump(const QString &file);
// `xls_oracle.py make` from a JSON description, encrypted with the archive password.
void make(const QString &file, const QJsonObject &description);
// Runs a program; returns its exit code and fills stdout/stderr.
int run(const QString &program, const QStringList &arguments, QByteArray *out = nullptr,
        QByteArray *err = nullptr);

} // namespace oracle
