#include "FakeDialogs.h"

#include <gtest/gtest.h>

platform::Dialogs::Answer FakeDialogs::messageBox(const QString &text, const QString &title,
                                                  Buttons buttons, Icon icon)
{
    boxes.push_back({text, title, buttons, icon});
    if (buttons == Buttons::Ok)
        return Answer::Ok;
    if (answers.empty()) {
        ADD_FAILURE() << "unexpected question: " << text.toStdString();
        return Answer::No;
    }
    const Answer answer = answers.front();
    answers.pop_front();
    return answer;
}

QString FakeDialogs::inputBox(const QString &prompt, const QString &title, const QString &defaultText)
{
    inputs.push_back({prompt, title, defaultText});
    if (typed.empty()) {
        ADD_FAILURE() << "unexpected input box: " << prompt.toStdString();
        return {};
    }
    const QString text = typed.front();
    typed.pop_front();
    return text;
}
