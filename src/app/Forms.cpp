#include "Forms.h"

#include "Anagrafe.h"
#include "Calendario.h"
#include "ErrorText.h"
#include "Form1.h"
#include "Form2.h"
#include "FrmBancari.h"
#include "Product.h"
#include "StampaP.h"
#include "Progressivi.h"

#include <QCloseEvent>
#include <algorithm>
#include <ranges>
#include <utility>

namespace app {

Forms::Forms(Services services) : services_(std::move(services)) {}

Forms::~Forms()
{
    // Newest first, so the main window (holding the host) goes last.
    for (auto &window : created_ | std::views::reverse)
        delete window.data();
}

Form1 *Forms::form1() { return loadOnFirstUse<Form1>(); }
Form2 *Forms::form2() { return loadOnFirstUse<Form2>(); }
registry::Anagrafe *Forms::anagrafe() { return loadOnFirstUse<registry::Anagrafe>(); }
printing::StampaP *Forms::stampaP() { return loadOnFirstUse<printing::StampaP>(); }
bank::FrmBancari *Forms::frmBancari() { return loadOnFirstUse<bank::FrmBancari>(); }
utilities::Progressivi *Forms::progressivi() { return loadOnFirstUse<utilities::Progressivi>(); }
utilities::Calendario *Forms::calendario() { return loadOnFirstUse<utilities::Calendario>(); }

void Forms::track(QWidget *window)
{
    loaded_.emplace_back(window);
    created_.emplace_back(window);
    window->installEventFilter(this);
}

bool Forms::unload(QWidget *window)
{
    if (!window)
        return false;
    std::exception_ptr error;
    // Closing steps may unload other windows in turn; each unload keeps its own error.
    std::exception_ptr *outer = std::exchange(closingError_, &error);
    const bool closed = window->close();
    closingError_ = outer;
    if (error)
        std::rethrow_exception(error);
    return closed;
}

QList<QWidget *> Forms::loaded() const
{
    QList<QWidget *> windows;
    for (const auto &window : loaded_)
        if (window)
            windows.append(window.data());
    return windows;
}

bool Forms::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::Close)
        return false;
    // The window's own closing steps decide; an accepted close unloads it.
    try {
        watched->event(event);
    } catch (...) {
        if (!closingError_)
            throw;
        *closingError_ = std::current_exception();
        event->ignore();
    }
    if (event->isAccepted()) {
        std::erase_if(loaded_, [&](const QPointer<QWidget> &w) { return w == watched; });
        watched->deleteLater();
    }
    return true;
}

void Forms::reportUnhandled(const std::exception &error)
{
    if (services_.program.ended())
        return;
    services_.dialogs.messageBox(unhandledErrorText(error), kDefaultTitle,
                                 platform::Dialogs::Buttons::Ok, platform::Dialogs::Icon::Critical);
    Form1 *main = find<Form1>();
    if (main && !main->saveBeforeEnding())
        return;
    services_.program.end(1);
}

} // namespace app
