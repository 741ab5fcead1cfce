// How the registry window looks and reads: size, font, colours, captions, menu, what a
// screen reader announces and the keyboard order.
#include "RegistryWindow.h"

#include <QAccessible>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QRegularExpression>

namespace {

class Look : public RegistryWindow {};

QString announced(QWidget *widget)
{
    QAccessibleInterface *face = QAccessible::queryAccessibleInterface(widget);
    return face ? face->text(QAccessible::Name) : QString();
}

TEST_F(Look, ClientAreaFontColoursAndTitle)
{
    open();
    EXPECT_EQ(window()->windowTitle(), u"Velmoro "_qs);
    EXPECT_EQ(window()->centralWidget()->size(), QSize(792, 418));
    const QList<QWidget *> controls = window()->centralWidget()->findChildren<QWidget *>();
    for (QWidget *control : controls) {
        EXPECT_EQ(control->font().family(), u"Calibri"_qs) << control->objectName().toStdString();
        EXPECT_EQ(control->font().pointSizeF(), 11.25) << control->objectName().toStdString();
        EXPECT_TRUE(control->font().bold()) << control->objectName().toStdString();
    }
    const QColor buttonFace = window()->palette().color(QPalette::Button);
    for (int number = 1; number <= 19; ++number) {
        const bool grey = number == 4 || number == 19;
        EXPECT_EQ(text(number)->palette().color(QPalette::Base), grey ? buttonFace : QColor(Qt::white)) << number;
    }
}

TEST_F(Look, MenuBarCaptionsInOrder)
{
    QStringList captions;
    for (QAction *action : window()->menuBar()->actions())
        captions << action->text();
    EXPECT_EQ(captions, (QStringList{u"      &Gestione"_qs, u"     &Aggiungi Fornitore"_qs,
                                     u"    &Pulisci i campi"_qs, u"    &Esci"_qs}));
    QStringList commands;
    for (QAction *action : control<QMenu>("MnCliente")->actions())
        commands << action->objectName() + u'=' + action->text();
    EXPECT_EQ(commands, (QStringList{u"mnuM=Modifica Fornitore"_qs, u"MnuE=Elimina Fornitore"_qs}));
}

TEST_F(Look, EveryControlIsAnnouncedByItsLabelOrCaption)
{
    const QStringList labels = {
        u"ID Progressivo"_qs, u"Ragione Sociale/Cognome-Nome"_qs, u"Codice"_qs, u"Data"_qs, u"Indirizzo"_qs,
        u"C.A.P."_qs, u"Località"_qs, u"(PR)"_qs, u"Telefono"_qs, u"Fax"_qs, u"Cellullare"_qs, u"E-Mail"_qs,
        u"Codice Fiscale"_qs, u"Partita IVA"_qs, u"Referente/Legale Rappresentante"_qs, u"Banca"_qs,
        u"Intestatario Conto "_qs, u"IBAN  (27 Caratteri)"_qs};
    for (int number = 1; number <= 18; ++number)
        EXPECT_EQ(announced(text(number)).trimmed(), labels[number - 1].trimmed()) << number;
    EXPECT_EQ(announced(combo()), u"Seleziona Fornitore"_qs);
    EXPECT_EQ(announced(control<QCheckBox>("Check1")).trimmed(), u"Verifica IBAN"_qs);
    EXPECT_FALSE(announced(control<QCheckBox>("Check2")).isEmpty());
    EXPECT_FALSE(announced(text(19)).isEmpty());
    const auto headings = window()->findChildren<QLabel *>();
    EXPECT_TRUE(std::any_of(headings.begin(), headings.end(),
                            [](QLabel *label) { return label->text() == u"Coordinate Bancarie"_qs; }));
}

TEST_F(Look, TabGoesThroughTheFieldsInTheirOrder)
{
    QStringList order;
    QWidget *at = combo();
    do {
        if (at->focusPolicy() & Qt::TabFocus && at->objectName().contains(QRegularExpression(u"^(Text|Check|Combo)"_qs)))
            order << at->objectName();
        at = at->nextInFocusChain();
    } while (at != combo());
    EXPECT_EQ(order.join(u' '), u"Combo1 Text2 Text3 Text5 Text6 Text7 Text8 Text9 Text10 Text11 Text12 Text13 "
                                "Text14 Text15 Text16 Text17 Text18 Check1 Text1 Text4 Check2 Text19"_qs);
}

} // namespace
