#pragma once

#include "kit/ArchiveSession.h"
#include "kit/Context.h"
#include "kit/Services.h"

#include <QList>
#include <QObject>
#include <QPointer>
#include <QWidget>
#include <exception>
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

    app::Form1 *form1();
    app::Form2 *form2();
    registry::Anagrafe *anagrafe();
    printing::StampaP *stampaP();
    bankcheck::FrmBancari *frmBancari();
    utilities::Progressivi *progressivi();
    utilities::Calendario *calendario();

    // Asks the window to close; its own closing steps run, and it may refuse. Failed when
    // they failed: the window then stays loaded.
    Unloaded unload(QWidget *window);
    // Counts a window as loaded from now on, in load order; Forms owns it.
    void track(QWidget *window);
    // Loaded windows in load order.
    QList<QWidget *> loaded() const;
    template <class Window> bool isLoaded() const { return find<Window>() != nullptr; }

    // An error nobody handled: shown with its number and description, then the program ends,
    // unless the open archive cannot be saved first (then the user keeps the changes).
    void reportUnhandled(const std::exception &error);

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

    kit::Services services_;
    kit::ArchiveSession session_{services_};
    kit::Context context_;
    // Where the error of the closing steps now running goes, while unload() waits for them.
    std::exception_ptr *closingError_ = nullptr;
    std::vector<QPointer<QWidget>> loaded_;
    std::vector<QPointer<QWidget>> created_;
};

} // namespace root
