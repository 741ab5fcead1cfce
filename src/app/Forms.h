#pragma once

#include "Services.h"

#include <QList>
#include <QObject>
#include <QPointer>
#include <QWidget>
#include <exception>
#include <vector>

namespace bank { class FrmBancari; }
namespace registry { class Anagrafe; }
namespace printing { class StampaP; }
namespace utilities {
class Calendario;
class Progressivi;
} // namespace utilities

namespace app {

class Form1;
class Form2;

// Owns every window and knows which are loaded. A window loads on first use (its load
// handler runs), unloads when it accepts a close request, and is then destroyed.
class Forms : public QObject {
    Q_OBJECT

public:
    explicit Forms(Services services);
    ~Forms() override;

    Services &services() { return services_; }

    Form1 *form1();
    Form2 *form2();
    registry::Anagrafe *anagrafe();
    printing::StampaP *stampaP();
    bank::FrmBancari *frmBancari();
    utilities::Progressivi *progressivi();
    utilities::Calendario *calendario();

    // Asks the window to close; its own closing steps run. False when it refused. An error
    // in those steps reaches the caller (the window then stays loaded), not the
    // application's handler of unhandled errors.
    bool unload(QWidget *window);
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
    template <class Window> Window *loadOnFirstUse()
    {
        if (Window *window = find<Window>())
            return window;
        auto *window = new Window(*this);
        track(window);
        window->load();
        return window;
    }

    Services services_;
    // Where the error of the closing steps now running goes, while unload() waits for them.
    std::exception_ptr *closingError_ = nullptr;
    std::vector<QPointer<QWidget>> loaded_;
    std::vector<QPointer<QWidget>> created_;
};

} // namespace app
