#pragma once

#include "Services.h"

#include <QList>
#include <QObject>
#include <QPointer>
#include <QWidget>
#include <exception>
#include <vector>

namespace registry { class Anagrafe; }
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
    utilities::Progressivi *progressivi();
    utilities::Calendario *calendario();

    // Asks the window to close; its own closing steps run. False when it refused.
    bool unload(QWidget *window);
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
    void track(QWidget *window);

    Services services_;
    std::vector<QPointer<QWidget>> loaded_;
    std::vector<QPointer<QWidget>> created_;
};

} // namespace app
