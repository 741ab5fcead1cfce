#pragma once

#include "platform/Dialogs.h"

#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <deque>
#include <functional>
#include <gtest/gtest.h>
#include <vector>

// Records every box and answers Yes/No boxes, input boxes and file names from queues; an
// unscripted question fails the test. A preview is drawn as on screen and its pages counted.
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
    struct FileQuestion {
        QString title, suggestedPath, filter;
    };
    std::vector<FileQuestion> files;
    std::deque<QString> named; // the file the user names each time, "" to cancel
    std::vector<int> previews; // the pages each preview showed
    std::function<void(const Box &)> asked; // runs as each box is asked

    Answer messageBox(const QString &text, const QString &title, Buttons buttons, Icon icon) override
    {
        boxes.push_back({text, title, buttons, icon});
        if (asked)
            asked(boxes.back());
        return buttons == Buttons::Ok ? Answer::Ok : next(answers, Answer::No, text);
    }
    QString inputBox(const QString &prompt, const QString &title, const QString &defaultText) override
    {
        inputs.push_back({prompt, title, defaultText});
        return next(typed, QString(), prompt);
    }
    QString saveFileName(const QString &title, const QString &suggestedPath, const QString &filter) override
    {
        files.push_back({title, suggestedPath, filter});
        return next(named, QString(), title);
    }
    void printPreview(QPrintPreviewDialog &preview) override
    {
        auto *pages = preview.findChild<QPrintPreviewWidget *>();
        pages->updatePreview();
        previews.push_back(pages->pageCount());
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
