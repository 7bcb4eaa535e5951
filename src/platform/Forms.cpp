#include "platform/Forms.h"

#include "platform/DesktopWindows.h"

#include <QGuiApplication>
#include <QPointer>
#include <QThread>
#include <QTimer>
#include <QWindow>

#include <algorithm>
#include <map>
#include <utility>

namespace platform {

namespace {

struct Runtime {
    std::map<std::type_index, Form*> loaded;
    // Unloaded windows whose objects are not destroyed yet.
    std::vector<QPointer<Form>> leaving;
    // Windows in the order they were last activated; the last is the active one.
    std::vector<Form*> activation;
    bool ended = false;
    std::function<void()> endHandler;
    // Counts the resets, so that a check left pending by one test case does
    // not act in the next.
    int generation = 0;
};

Runtime& runtime()
{
    static Runtime r;
    return r;
}

void forgetActivation(Form* form)
{
    auto& order = runtime().activation;
    order.erase(std::remove(order.begin(), order.end(), form), order.end());
}

void activate(Form& form)
{
    forgetActivation(&form);
    runtime().activation.push_back(&form);
    form.Form_Activate();
}

// When the active window goes away the last one activated before it that is
// still on the screen comes back, and its activation handler runs.
void bringBackPrevious(Form* leaving)
{
    auto& order = runtime().activation;
    const bool wasActive = !order.empty() && order.back() == leaving;
    forgetActivation(leaving);
    if (!wasActive || runtime().ended)
        return;
    for (auto it = order.rbegin(); it != order.rend(); ++it) {
        if (!(*it)->isHidden()) {
            activate(**it);
            // The desktop does not always give it the keyboard back: without
            // a window manager no window would be active. A window of
            // another program that has it keeps it (a document shown).
            const QWindow* focus = QGuiApplication::focusWindow();
            QWindow* window = (*it)->windowHandle();
            if (window && (focus == leaving->windowHandle() || (!focus && !desktopWindows().otherProgramActive())))
                desktopWindows().activate(*window);
            return;
        }
    }
}

// A desktop places a window it maps anew where it finds room, which for a
// window as large as the screen is wherever the pointer is, its bottom off
// the screen. A window hidden to come back later is told to stand where it
// stands now: a place the program gives is one the desktop keeps.
void keepPlace(Form& form)
{
    form.setAttribute(Qt::WA_Moved);
    if (QWindow* window = form.windowHandle())
        window->setPosition(window->position());
}

bool anyOnScreen()
{
    const auto& loaded = runtime().loaded;
    return std::any_of(loaded.begin(), loaded.end(), [](const auto& entry) { return !entry.second->isHidden(); });
}

// A program whose windows are all hidden could never be ended by the user:
// it ends once the handler that hid or closed the last one has run, unless a
// window came back on the screen meanwhile. A handler may still be running
// inside a nested event loop (a wait, a message box) before it shows the
// next window, so the check only acts from the program's own event loop.
void checkNothingShown(int generation, int delayMs)
{
    QTimer::singleShot(delayMs, [generation] {
        const auto& r = runtime();
        if (r.generation != generation || r.ended || r.loaded.empty() || anyOnScreen())
            return;
        if (QThread::currentThread()->loopLevel() > 1) {
            checkNothingShown(generation, 100);
            return;
        }
        Forms::endProgram();
    });
}

void endWhenNothingIsShown()
{
    if (runtime().ended || anyOnScreen())
        return;
    checkNothingShown(runtime().generation, 0);
}

// A window unloaded inside a nested event loop (a pause, a message box) may
// have a handler of its own still waiting below that loop, which goes on with
// the window once the loop ends. Unloaded windows are destroyed only from the
// program's own event loop, when no such handler is left.
void destroyWhenIdle(int generation, int delayMs)
{
    QTimer::singleShot(delayMs, [generation] {
        auto& r = runtime();
        if (r.generation != generation)
            return;
        if (QThread::currentThread()->loopLevel() > 1) {
            destroyWhenIdle(generation, 100);
            return;
        }
        for (const QPointer<Form>& form : std::exchange(r.leaving, {})) {
            if (form)
                form->deleteLater();
        }
    });
}

} // namespace

Form* Forms::find(std::type_index type)
{
    const auto& loaded = runtime().loaded;
    const auto it = loaded.find(type);
    return it == loaded.end() ? nullptr : it->second;
}

void Forms::load(std::type_index type, Form* form)
{
    runtime().loaded[type] = form;
    form->Form_Load();
}

void Forms::show(Form& form)
{
    if (!isLoaded(form))
        return;
    const bool wasHidden = form.isHidden();
    // A window that does not fill the screen opens, the first time, in the
    // middle of the window it is opened from (of the screen when none is),
    // unless its code put it somewhere itself.
    if (wasHidden && !form.testAttribute(Qt::WA_Moved) && !form.layoutRecording().has_value()) {
        Form* owner = activeForm();
        form.centreOn(owner && owner != &form && !owner->isHidden() ? owner : nullptr);
    }
    form.show();
    if (QGuiApplication::platformName() != QLatin1String("offscreen"))
        form.raise();
    if (wasHidden || activeForm() != &form)
        activate(form);
}

void Forms::hide(Form& form)
{
    if (form.isHidden())
        return;
    keepPlace(form);
    form.hide();
    bringBackPrevious(&form);
    endWhenNothingIsShown();
}

void Forms::unload(Form& form)
{
    if (!isLoaded(form))
        return;
    form.Form_Unload();
    auto& loaded = runtime().loaded;
    for (auto it = loaded.begin(); it != loaded.end(); ++it) {
        if (it->second == &form) {
            loaded.erase(it);
            break;
        }
    }
    form.hide();
    runtime().leaving.emplace_back(&form);
    destroyWhenIdle(runtime().generation, 0);
    bringBackPrevious(&form);
    if (loaded.empty())
        endProgram();
    else
        endWhenNothingIsShown();
}

bool Forms::isLoaded(const Form& form)
{
    const auto& loaded = runtime().loaded;
    return std::any_of(loaded.begin(), loaded.end(), [&](const auto& entry) { return entry.second == &form; });
}

std::vector<Form*> Forms::loadedForms()
{
    std::vector<Form*> forms;
    for (const auto& entry : runtime().loaded)
        forms.push_back(entry.second);
    return forms;
}

Form* Forms::activeForm()
{
    const auto& order = runtime().activation;
    return order.empty() ? nullptr : order.back();
}

void Forms::endProgram()
{
    auto& r = runtime();
    if (r.ended)
        return;
    r.ended = true;
    if (r.endHandler)
        r.endHandler();
    else
        QCoreApplication::exit(0);
}

bool Forms::programEnded()
{
    return runtime().ended;
}

void Forms::setEndHandler(std::function<void()> handler)
{
    runtime().endHandler = std::move(handler);
}

void Forms::reset()
{
    auto& r = runtime();
    const auto loaded = std::move(r.loaded);
    r.loaded.clear();
    r.activation.clear();
    for (const auto& entry : loaded)
        delete entry.second;
    for (const QPointer<Form>& form : std::exchange(r.leaving, {}))
        delete form.data();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    r.ended = false;
    ++r.generation;
}

} // namespace platform
