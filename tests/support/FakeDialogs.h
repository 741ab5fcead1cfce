#pragma once

#include "Dialogs.h"

#include <deque>
#include <vector>

// Records every box and answers Yes/No boxes and input boxes from queues; an unscripted
// question fails the test.
class FakeDialogs : public platform::Dialogs {
public:
    struct Box {
        QString text, title;
        Buttons buttons;
        Icon icon;
    };

    struct Input {
        QString prompt, title, defaultText;
    };

    std::vector<Box> boxes;
    std::deque<Answer> answers;
    std::vector<Input> inputs;
    std::deque<QString> typed; // what the user types into each input box in turn

    Answer messageBox(const QString &text, const QString &title, Buttons buttons,
                      Icon icon) override;
    QString inputBox(const QString &prompt, const QString &title,
                     const QString &defaultText) override;
};
