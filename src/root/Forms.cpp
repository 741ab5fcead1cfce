#include "Forms.h"

#include "app/Form1.h"
#include "app/Form2.h"
#include "bankcheck/FrmBancari.h"
#include "kit/ErrorText.h"
#include "kit/Product.h"
#include "kit/WindowPlace.h"
#include "printing/StampaP.h"
#include "registry/Anagrafe.h"
#include "utilities/Calendario.h"
#include "utilities/Progressivi.h"

#include <QCloseEvent>
#include <algorithm>
#include <ranges>
#include <utility>

namespace root {

Forms::Forms(kit::Services services)
    : services_(std::move(services)),
      context_{services_, session_, guard_, [this](const QWidget *window) { return isTracked(window); }}
{
}

Forms::~Forms()
{
    // Newest first, so the main window goes last.
    for (auto &window : created_ | std::views::reverse)
        delete window.data();
}

app::Form1 *Forms::form1()
{
    return loadOnFirstUse<app::Form1>([this] {
        auto *window = new app::Form1(context_, [this] { UnloadOtherWindows(); });
        wire(window, &app::Form1::registryRequested, [this] { kit::bringForward(*anagrafe()); });
        wire(window, &app::Form1::printRequested, [this] { stampaP()->show(); });
        wire(window, &app::Form1::utilitiesRequested, [this] { kit::bringForward(*progressivi()); });
        wire(window, &app::Form1::instructionsRequested, [this] { form2()->show(); });
        return window;
    });
}

app::Form2 *Forms::form2()
{
    return loadOnFirstUse<app::Form2>([this] {
        auto *window = new app::Form2;
        wire(window, &app::Form2::closed, [this] { form1()->show(); });
        return window;
    });
}

registry::Anagrafe *Forms::anagrafe()
{
    return loadOnFirstUse<registry::Anagrafe>([this] {
        auto *window = new registry::Anagrafe(context_);
        wire(window, &registry::Anagrafe::ibanCheckRequested,
             [this](const QString &iban) { kit::bringForward(*frmBancari(iban)); });
        wire(window, &registry::Anagrafe::datePickerRequested, [this] { kit::bringForward(*calendario()); });
        wire(window, &registry::Anagrafe::left, [this] { leaveRegistry(); });
        return window;
    });
}

printing::StampaP *Forms::stampaP()
{
    return loadOnFirstUse<printing::StampaP>([this] {
        auto *window = new printing::StampaP(context_);
        wire(window, &printing::StampaP::printFinished, [this] { form1()->setPrintBoxChecked(false); });
        return window;
    });
}

bankcheck::FrmBancari *Forms::frmBancari()
{
    return frmBancari(QString());
}

bankcheck::FrmBancari *Forms::frmBancari(const QString &iban)
{
    return loadOnFirstUse<bankcheck::FrmBancari>([&] {
        auto *window = new bankcheck::FrmBancari(context_);
        window->setIban(iban);
        wire(window, &bankcheck::FrmBancari::closed, [this] {
            if (registry::Anagrafe *registry = find<registry::Anagrafe>())
                registry->setBankCheckBoxChecked(false);
        });
        return window;
    });
}

utilities::Progressivi *Forms::progressivi()
{
    return loadOnFirstUse<utilities::Progressivi>([this] {
        auto *window = new utilities::Progressivi(context_);
        wire(window, &utilities::Progressivi::closed, [this] { form1()->show(); });
        return window;
    });
}

utilities::Calendario *Forms::calendario()
{
    return loadOnFirstUse<utilities::Calendario>([this] {
        auto *window = new utilities::Calendario(context_);
        wire(window, &utilities::Calendario::datePicked, [this](QDate date) { takePickedDate(date); });
        return window;
    });
}

void Forms::leaveRegistry()
{
    if (bankcheck::FrmBancari *bank = find<bankcheck::FrmBancari>())
        bank->hide();
    app::Form1 *main = form1();
    main->show();
    main->setRegistryBoxChecked(false);
}

// The picker closes once the registry window has taken the day.
void Forms::takePickedDate(QDate date)
{
    registry::Anagrafe *registry = find<registry::Anagrafe>();
    if (registry && registry->setPickedDate(date))
        unload(find<utilities::Calendario>());
}

void Forms::UnloadOtherWindows()
{
    const app::Form1 *main = find<app::Form1>();
    QList<QPointer<QWidget>> windows;
    for (QWidget *window : loaded())
        windows.append(window);
    for (const QPointer<QWidget> &window : windows)
        // A window's closing steps may already have unloaded another.
        if (window && window != main && loaded().contains(window))
            unload(window);
}

void Forms::track(QWidget *window)
{
    loaded_.emplace_back(window);
    created_.emplace_back(window);
    window->installEventFilter(this);
}

Forms::Unloaded Forms::unload(QWidget *window, QString *failure)
{
    if (!window)
        return Unloaded::Refused;
    std::optional<QString> failed;
    // Closing steps may unload other windows in turn; each unload keeps its own failure.
    std::optional<QString> *outer = std::exchange(closingFailure_, &failed);
    const bool closed = window->close();
    closingFailure_ = outer;
    if (failed) {
        if (failure)
            *failure = *failed;
        return Unloaded::Failed;
    }
    return closed ? Unloaded::Closed : Unloaded::Refused;
}

bool Forms::isTracked(const QWidget *window) const
{
    return std::ranges::any_of(loaded_, [&](const QPointer<QWidget> &loaded) { return loaded == window; });
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
    // The window's own closing steps decide; an accepted close unloads it. Steps that fail
    // keep the window: unload() tells its caller, any other close is an unhandled error.
    const auto steps = [&] { watched->event(event); };
    const bool ran = closingFailure_
        ? guard_.run(steps, [this](const std::exception &error) { *closingFailure_ = kit::unhandledErrorText(error); })
        : guard_.run(steps);
    if (!ran)
        event->ignore();
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
    services_.dialogs.messageBox(kit::unhandledErrorText(error), kit::kDefaultTitle, platform::Dialogs::Buttons::Ok,
                                 platform::Dialogs::Icon::Critical);
    if (!session_.saveBeforeEnding())
        return;
    services_.program.end(1);
}

} // namespace root
