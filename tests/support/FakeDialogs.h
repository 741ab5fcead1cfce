#pragma once

#include "Dialogs.h"

#include <deque>
#include <vector>

// Records every box and answers Yes/No boxes from a queue; an unscripted question fails the test.
class FakeDialogs : public platform::Dialogs {
public:
    struct Box {
        QString text, title;
        Buttons buttons;
        Icon icon;
    };

    std::vector<Box> boxes;
    std::deque<Answer> answers;

    Answer messageBox(const QString &text, const QString &title, Buttons buttons,
                      Icon icon) override;
    QString inputBox(const QString &prompt, const QString &title,
                     const QString &defaultText) override;
};
