// Real message boxes: the answer each key gives, the safe default of a question, and Qt's own
// buttons in Italian.
#include "QtDialogs.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

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
