#pragma once

#include "Dialogs.h"

namespace platform {

// Dialogs on QMessageBox and QInputDialog, application-modal.
class QtDialogs : public Dialogs {
public:
    Answer messageBox(const QString &text, const QString &title, Buttons buttons,
                      Icon icon) override;
    QString inputBox(const QString &prompt, const QString &title,
                     const QString &defaultText) override;
};

} // namespace platform
