#pragma once

#include <exception>
#include <functional>
#include <stdexcept>
#include <utility>

namespace kit {

// The one boundary between a slot or event handler and Qt's event dispatch, which does not
// carry exceptions: a failure the body left unhandled goes to the program's unhandled-error
// behaviour, installed by the composition root, and never further.
class SlotGuard {
public:
    using Handler = std::function<void(const std::exception &)>;

    explicit SlotGuard(Handler unhandled) : unhandled_(std::move(unhandled)) {}

    // Runs `body`; false when it failed and `onFailure` had the failure.
    template <class Body, class OnFailure> bool run(Body &&body, OnFailure &&onFailure) const noexcept
    {
        try {
            body();
            return true;
        } catch (const std::exception &error) {
            report(onFailure, error);
        } catch (...) {
            report(onFailure, std::runtime_error("Errore non previsto"));
        }
        return false;
    }
    // Runs `body`; a failure gets the unhandled-error behaviour.
    template <class Body> bool run(Body &&body) const noexcept { return run(body, unhandled_); }

    // A window's member function as a guarded slot, for connect() and for callbacks.
    template <class Window> auto slot(Window *window, void (Window::*member)()) const
    {
        return [this, window, member] { run([&] { (window->*member)(); }); };
    }
    template <class Window, class Arg> auto slot(Window *window, void (Window::*member)(Arg)) const
    {
        return [this, window, member](Arg arg) { run([&] { (window->*member)(arg); }); };
    }

private:
    // A handler that fails in turn has nothing left to tell it to.
    template <class OnFailure> static void report(OnFailure &onFailure, const std::exception &error) noexcept
    {
        try {
            onFailure(error);
        } catch (...) {
        }
    }

    Handler unhandled_;
};

} // namespace kit
