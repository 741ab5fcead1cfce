#include "BankWindow.h"

#include <QAction>
#include <QPushButton>
#include <QRadioButton>

void BankWindow::SetUp()
{
    OnAFreshArchive::SetUp();
    type("B2", "ROSSI");
    run->control<QCheckBox>("Check1")->click();
    ASSERT_TRUE(QTest::qWaitForWindowActive(registryWindow()));
}

void BankWindow::open(const QString &iban)
{
    registryWindow()->findChild<QLineEdit *>(QStringLiteral("Text18"))->setText(iban);
    registryCheck1()->click();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window()));
    run->dialogs.boxes.clear();
    type("C2", "MARK");
}

void BankWindow::act(const QStringList &steps)
{
    for (const QString &step : steps) {
        const QString verb = step.section(u' ', 0, 0), name = step.section(u' ', 1, 1);
        const QString value = step.section(u' ', 2);
        if (verb == QStringLiteral("set"))
            text(name)->setText(value);
        else if (verb == QStringLiteral("type"))
            QTest::keyClicks(text(name), value);
        else if (verb == QStringLiteral("pick"))
            window()->findChild<QRadioButton *>(name)->setChecked(true);
        else if (verb == QStringLiteral("Pulisci"))
            window()->findChild<QAction *>(verb)->trigger();
        else
            window()->findChild<QPushButton *>(QStringLiteral("cmdGo"))->click();
    }
}

QString BankWindow::texts(QWidget *of)
{
    QStringList texts;
    for (const char *name : {"txtCodice", "txtStato", "txtCheck", "txtCin", "txtAbi", "txtCab", "txtCC"})
        texts << (of ? of : window())->findChild<QLineEdit *>(QString::fromLatin1(name))->text();
    return texts.join(u'|');
}

QStringList BankWindow::boxes()
{
    QStringList boxes;
    for (const FakeDialogs::Box &box : run->dialogs.boxes) {
        EXPECT_EQ(box.buttons, platform::Dialogs::Buttons::Ok);
        const QString icon = box.icon == platform::Dialogs::Icon::None ? QStringLiteral("-") : QStringLiteral("!");
        boxes << icon + u'|' + box.title + u'|' + box.text;
    }
    return boxes;
}
