#pragma once

#include <QString>

class QPrintPreviewDialog;

namespace platform {

// Modal boxes as the windows ask them. Production shows Qt dialogs; tests script the answers.
class Dialogs {
public:
    // YesNo answers Yes on Enter; YesNoDefaultNo, for questions whose safe answer is No,
    // answers No.
    enum class Buttons { Ok, YesNo, YesNoDefaultNo };
    enum class Icon { None, Information, Exclamation, Critical };
    enum class Answer { Ok, Yes, No };

    virtual ~Dialogs() = default;
    virtual Answer messageBox(const QString &text, const QString &title, Buttons buttons,
                              Icon icon) = 0;
    // The typed text, or "" when the user cancels (callers cannot tell the two apart).
    virtual QString inputBox(const QString &prompt, const QString &title,
                             const QString &defaultText) = 0;
    // The file the user names to write, "" when the user cancels. Starts at `suggestedPath`;
    // a name typed without a suffix takes that path's, and replacing a file there is asked.
    virtual QString saveFileName(const QString &title, const QString &suggestedPath,
                                 const QString &filter) = 0;
    // Shows the preview until the user closes it.
    virtual void printPreview(QPrintPreviewDialog &preview) = 0;
};

} // namespace platform
