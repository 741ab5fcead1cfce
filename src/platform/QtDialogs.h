#pragma once

#include "Dialogs.h"

namespace platform {

// Dialogs on QMessageBox, QInputDialog and QFileDialog, application-modal.
class QtDialogs : public Dialogs {
public:
    Answer messageBox(const QString &text, const QString &title, Buttons buttons,
                      Icon icon) override;
    QString inputBox(const QString &prompt, const QString &title,
                     const QString &defaultText) override;
    QString saveFileName(const QString &title, const QString &suggestedPath,
                         const QString &filter) override;
    void printPreview(QPrintPreviewDialog &preview) override;
};

} // namespace platform
