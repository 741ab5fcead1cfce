#pragma once

#include "kit/ArchiveSession.h"
#include "kit/Context.h"
#include "kit/Services.h"
#include "kit/SlotGuard.h"

#include <QList>
#include <QObject>
#include <QPointer>
#include <QWidget>
#include <exception>
#include <optional>
#include <vector>

namespace app {
class Form1;
class Form2;
} // namespace app
namespace bankcheck { class FrmBancari; }
namespace printing { class StampaP; }
namespace registry { class Anagrafe; }
namespace utilities {
class Calendario;
class Progressivi;
} // namespace utilities

namespace root {

// The composition root: the only place that knows every window. It builds each window on
// first use (its load handler runs), wires the windows' signals to one another, unloads a
// window when it accepts a close request (it is then destroyed), and owns the open archive.
class Forms : public QObject {
    Q_OBJECT

public:
    enum class Unloaded { Closed, Refused, Failed };

    explicit Forms(kit::Services services);
    ~Forms() override;

    kit::Services &services() { return services_; }
    kit::ArchiveSession &session() { return session_; }
    const kit::SlotGuard &guard() const { return guard_; }
    // What every window is built with.
    kit::Context &context() { return context_; }

    app::Form1 *form1();
    app::Form2 *form2();
    registry::Anagrafe *anagrafe();
    printing::StampaP *stampaP();
    bankcheck::FrmBancari *frmBancari();
    utilities::Progressivi *progressivi();
    utilities::Calendario *calendario();

    // Asks the window to close; its own closing steps run, and it may refuse. Failed when
    // they failed: the window then stays loaded, and `failure` gets the error's text.
    Unloaded unload(QWidget *window, QString *failure = nullptr);
    // Counts a window as loaded from now on, in load order; Forms owns it.
    void track(QWidget *window);
    // Loaded windows in load order.
    QList<QWidget *> loaded() const;
    template <class Window> bool isLoaded() const { return find<Window>() != nullptr; }


protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    template <class Window> Window *find() const
    {
        for (const auto &window : loaded_)
            if (auto *found = qobject_cast<Window *>(window.data()))
                return found;
        return nullptr;
    }
    template <class Window, class Make> Window *loadOnFirstUse(Make make)
    {
        if (Window *window = find<Window>())
            return window;
        Window *window = make();
        track(window);
        window->load();
        return window;
    }
    bool isTracked(const QWidget *window) const;
    bankcheck::FrmBancari *frmBancari(const QString &iban);
    // Every loaded window but the main one, each with its own closing steps, whatever fails.
    void UnloadOtherWindows();
    void leaveRegistry();
    void takePickedDate(QDate date);
    // An error nobody handled: shown with its number and description, then the program ends,
    // unless the open archive cannot be saved first (then the user keeps the changes).
    void reportUnhandled(const std::exception &error);
    // connect() with the receiving lambda run in the guard.
    template <class Sender, class Signal, class Slot> void wire(Sender *sender, Signal signal, Slot slot)
    {
        connect(sender, signal, this, [this, slot](auto... args) { guard_.run([&] { slot(args...); }); });
    }

    kit::Services services_;
    kit::ArchiveSession session_{services_};
    kit::SlotGuard guard_{[this](const std::exception &error) { reportUnhandled(error); }};
    kit::Context context_;
    // The text of a failure of the closing steps now running, while unload() waits for them.
    std::optional<QString> *closingFailure_ = nullptr;
    std::vector<QPointer<QWidget>> loaded_;
    std::vector<QPointer<QWidget>> created_;
};

} // namespace root
