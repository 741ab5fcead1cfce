#include "QtDialogs.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QInputDialog>
#include <QMessageBox>
#include <QPrintPreviewDialog>

namespace platform {

namespace {

QMessageBox::Icon qtIcon(Dialogs::Icon icon)
{
    switch (icon) {
    case Dialogs::Icon::Information: return QMessageBox::Information;
    case Dialogs::Icon::Exclamation: return QMessageBox::Warning;
    case Dialogs::Icon::Critical: return QMessageBox::Critical;
    case Dialogs::Icon::None: break;
    }
    return QMessageBox::NoIcon;
}

} // namespace

Dialogs::Answer QtDialogs::messageBox(const QString &text, const QString &title, Buttons buttons,
                                      Icon icon)
{
    const bool yesNo = buttons != Buttons::Ok;
    QMessageBox box(qtIcon(icon), title, text,
                    yesNo ? QMessageBox::Yes | QMessageBox::No : QMessageBox::Ok);
    box.setDefaultButton(buttons == Buttons::YesNo          ? QMessageBox::Yes
                         : buttons == Buttons::YesNoDefaultNo ? QMessageBox::No
                                                              : QMessageBox::Ok);
    const int pressed = box.exec();
    if (!yesNo)
        return Answer::Ok;
    // Escape or the close box on a Yes/No box counts as No.
    return pressed == QMessageBox::Yes ? Answer::Yes : Answer::No;
}

QString QtDialogs::inputBox(const QString &prompt, const QString &title,
                            const QString &defaultText)
{
    bool ok = false;
    const QString text =
        QInputDialog::getText(nullptr, title, prompt, QLineEdit::Normal, defaultText, &ok);
    return ok ? text : QString();
}

QString QtDialogs::saveFileName(const QString &title, const QString &suggestedPath,
                                const QString &filter)
{
    QFileDialog dialog(nullptr, title, suggestedPath, filter);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setDefaultSuffix(QFileInfo(suggestedPath).suffix());
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}

void QtDialogs::printPreview(QPrintPreviewDialog &preview)
{
    preview.exec();
}

} // namespace platform
