#pragma once

#include "Anagrafe.h"
#include "FrmBancari.h"
#include "TestRun.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QStringList>
#include <QTest>

// The program started on a fresh archive with one subject, its registry window shown, and the
// bank check window opened from there as the user opens it.
class BankWindow : public OnAFreshArchive {
protected:
    void SetUp() override;
    // Puts `iban` in the registry's IBAN field and ticks "Verifica IBAN "; afterwards the
    // boxes are forgotten and cell C2 carries a mark that only a save brings to disk.
    void open(const QString &iban = {});
    bool savedSinceOpening() { return saved("C2") == QStringLiteral("MARK"); }

    bank::FrmBancari *window() { return run->forms->frmBancari(); }
    registry::Anagrafe *registryWindow() { return run->forms->anagrafe(); }
    QLineEdit *text(const QString &name) { return window()->findChild<QLineEdit *>(name); }
    QCheckBox *registryCheck1() { return registryWindow()->findChild<QCheckBox *>(QStringLiteral("Check1")); }
    // Steps as the user takes them: "set txtAbi 5428", "type txtCodice IT60 X054",
    // "pick optBBAN" (an option), "Pulisci", "Verifica".
    void act(const QStringList &steps);
    // txtCodice|txtStato|txtCheck|txtCin|txtAbi|txtCab|txtCC of `of`, or of the loaded window.
    QString texts(QWidget *of = nullptr);
    // Every box since opening: icon ("-" none, "!" exclamation), title and text.
    QStringList boxes();
};

inline void PrintTo(const QString &text, std::ostream *out)
{
    *out << '"' << text.toStdString() << '"';
}
