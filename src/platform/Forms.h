#pragma once

#include "platform/Form.h"

#include <functional>
#include <typeindex>
#include <vector>

namespace platform {

// The windows runtime: one instance per window class, reached by its class.
// Touching a window that is not loaded loads it (its load handler runs)
// without showing it. Every window is modeless. An unloaded window is
// destroyed only once the program is back in its own event loop (a handler
// of its own may still be running, or waiting in a pause), but the next
// touch already gets a fresh instance. The program ends when its last
// window is unloaded, or once no loaded window is left on the screen.
class Forms {
public:
    // The loaded window, loading it first when needed.
    template <class F>
    static F& get()
    {
        if (Form* loaded = find(typeid(F)))
            return static_cast<F&>(*loaded);
        auto* created = new F();
        load(typeid(F), created);
        return *created;
    }
    // The loaded window, or null.
    template <class F>
    static F* loaded()
    {
        return static_cast<F*>(find(typeid(F)));
    }
    // Loads (when needed) and shows the window; returns it.
    template <class F>
    static F& show()
    {
        F& form = get<F>();
        show(form);
        return form;
    }
    template <class F>
    static void unload()
    {
        if (Form* form = find(typeid(F)))
            unload(*form);
    }

    // Shows a loaded window; its activation handler runs when it was hidden
    // or another window was the active one. A window the proportional layout
    // does not size opens the first time centred on the active window.
    static void show(Form& form);
    // Hides a window without unloading it; shown again, it comes back where
    // it was.
    static void hide(Form& form);
    // Runs the unload handler, forgets the window and destroys it later.
    static void unload(Form& form);
    static bool isLoaded(const Form& form);
    static std::vector<Form*> loadedForms();
    static Form* activeForm();

    // Ends the program at once: no unload handler runs. The program's main
    // returns instead of entering its event loop when this happened before.
    static void endProgram();
    static bool programEnded();
    // What ending the program does (tests record it instead of quitting).
    static void setEndHandler(std::function<void()> handler);

    // Destroys every window without running handlers and forgets that the
    // program ended (between test cases).
    static void reset();

private:
    static Form* find(std::type_index type);
    static void load(std::type_index type, Form* form);
};

} // namespace platform
