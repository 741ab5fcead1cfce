#include "Form2.h"

#include "kit/Logo.h"
#include "kit/Product.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>

namespace app {

namespace {

const QStringList kTerms = {
    QStringLiteral("Se interssati la versione si può personalizzare , ad esempio aggiundendo "),
    QStringLiteral("uno Scadenziario od altro ."),
    QStringLiteral("L'utilizzatore dell'applicativo è l'unico eresponsabile sia in termini di "),
    QStringLiteral("perdita di dati, modifiche, malfunzionamenti ecc. ."),
};

const QStringList kDescription = {
    QStringLiteral("L'applicativo è molto intuitivo e  consente di :"),
    QStringLiteral("- Creare un'Velmoro e gestirla"),
    QStringLiteral("- Inserimento della verifica del codice IBAN"),
    QStringLiteral("- Stampa"),
    QStringLiteral("- Cambiare il progressivo ID Soggetto"),
    QString(),
    QStringLiteral("Per ogni dubbio , contattate l'Autore "),
};

QPlainTextEdit *fixedText(const char *name, const QStringList &lines, QWidget *parent)
{
    auto *text = new QPlainTextEdit(lines.join(u'\n'), parent);
    text->setObjectName(QString::fromLatin1(name));
    text->setReadOnly(true);
    text->setLineWrapMode(QPlainTextEdit::NoWrap);
    return text;
}

} // namespace

Form2::Form2()
{
    setObjectName(QStringLiteral("Form2"));
    setWindowTitle(kit::mainTitle());

    auto *grid = new QGridLayout(this);
    grid->setContentsMargins(16, 12, 16, 12);
    grid->setHorizontalSpacing(16);

    Label1 = new QLabel(QStringLiteral("Istruzioni e Termini di Utilizzo"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    QFont heading = Label1->font();
    heading.setBold(true);
    heading.setPointSizeF(heading.pointSizeF() * 1.25);
    Label1->setFont(heading);
    grid->addWidget(Label1, 0, 1);

    Image1 = new QLabel(this);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setPixmap(kit::logoPixmap(80));
    Image1->setToolTip(kit::kPictureTip);
    grid->addWidget(Image1, 0, 0, 2, 1, Qt::AlignTop);

    // Both texts share one place; only one is shown at a time.
    Text1 = fixedText("Text1", kTerms, this);
    Text2 = fixedText("Text2", kDescription, this);
    grid->addWidget(Text1, 1, 1);
    grid->addWidget(Text2, 1, 1);
    const QFontMetrics metrics(Text1->font());
    Text1->setMinimumSize(metrics.horizontalAdvance(kTerms.first()) + 40,
                          metrics.lineSpacing() * (int(kDescription.size()) + 1) + 16);

    Command3 = new QPushButton(QStringLiteral("Istruzioni"), this);
    Command3->setObjectName(QStringLiteral("Command3"));
    grid->addWidget(Command3, 2, 1, Qt::AlignRight);

    connect(Command3, &QPushButton::clicked, this, &Form2::Command3Click);
}

void Form2::load()
{
    Text2->hide();
    Text1->show();
}

void Form2::Command3Click()
{
    Text1->hide();
    Text2->show();
}

void Form2::closeEvent(QCloseEvent *event)
{
    event->accept();
    emit closed();
}

} // namespace app
