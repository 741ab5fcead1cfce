#pragma once

#include "platform/Dialogs.h"

#include <deque>
#include <gtest/gtest.h>
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

    Answer messageBox(const QString &text, const QString &title, Buttons buttons, Icon icon) override
    {
        boxes.push_back({text, title, buttons, icon});
        return buttons == Buttons::Ok ? Answer::Ok : next(answers, Answer::No, text);
    }
    QString inputBox(const QString &prompt, const QString &title, const QString &defaultText) override
    {
        inputs.push_back({prompt, title, defaultText});
        return next(typed, QString(), prompt);
    }

private:
    template <class T> static T next(std::deque<T> &queue, T unscripted, const QString &asked)
    {
        if (queue.empty()) {
            ADD_FAILURE() << "unexpected question: " << asked.toStdString();
            return unscripted;
        }
        const T front = queue.front();
        queue.pop_front();
        return front;
    }
};
