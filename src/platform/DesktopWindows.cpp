#include "platform/DesktopWindows.h"

#include "platform/Clock.h"

#include <QDateTime>
#include <QFileInfo>
#include <QGuiApplication>
#include <QPointer>
#include <QTimer>
#include <QWindow>

#include <xcb/xcb.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <map>
#include <memory>
#include <vector>

#include <unistd.h>

namespace platform {

namespace {

// How long the desktop is given to make a window active, and how often it
// is asked again meanwhile.
constexpr double kActivationSeconds = 3;
constexpr int kActivationStepMs = 100;
// The program's windows learn a moment after the desktop that another
// program's window took the activation (Qt waits for a focus that may come
// back); a question asked before would give it back to them when it closes.
constexpr double kSettleSeconds = 0.5;

// EWMH: the request comes from a pager or a tool acting for the user, which
// window managers carry out without their focus-stealing prevention.
constexpr uint32_t kSourceUser = 2;
constexpr uint32_t kStateAdd = 1;

template <class Reply>
using Owned = std::unique_ptr<Reply, decltype(&std::free)>;

// The server's reply to a request; an error (a window gone meanwhile) is
// none, and is not reported as the program's fault.
template <class Reply, class Cookie>
Owned<Reply> answer(xcb_connection_t* c, Reply* (*replyOf)(xcb_connection_t*, Cookie, xcb_generic_error_t**),
                    Cookie cookie)
{
    xcb_generic_error_t* error = nullptr;
    Reply* reply = replyOf(c, cookie, &error);
    std::free(error);
    return Owned<Reply>(reply, &std::free);
}

// Whether a window title is that of the word processor showing a file of
// this name ("Contrato.tmp - LibreOffice Writer", "Registro.rtf (solo
// lectura) - LibreOffice Writer").
bool isDocumentWindowTitle(const QString& title, const QString& fileName)
{
    return !fileName.isEmpty() && title.startsWith(fileName + QLatin1Char(' '))
        && title.contains(QLatin1String("LibreOffice"));
}

// Whether a window's class (WM_CLASS: its name, its class) is LibreOffice's.
bool isWordProcessorClass(const QString& windowClass)
{
    return windowClass.contains(QLatin1String("libreoffice"), Qt::CaseInsensitive)
        || windowClass.contains(QLatin1String("soffice"), Qt::CaseInsensitive);
}

template <class List, class Item>
bool contains(const List& list, const Item& item)
{
    return std::find(list.begin(), list.end(), item) != list.end();
}

// The X11 desktop the program runs on, through Qt's own connection to it.
class X11Windows final : public DesktopWindows {
public:
    void expectDocument(const QString& hostPath, bool open) override
    {
        std::vector<xcb_window_t>& others = othersOfItsName_[hostPath];
        others.clear();
        xcb_connection_t* c = connection();
        if (!c || open)
            return;
        const QString name = QFileInfo(hostPath).fileName();
        for (xcb_window_t window : topWindows(c)) {
            if (isDocumentWindowTitle(title(c, window), name))
                others.push_back(window);
        }
    }

    bool bringToFront(const QString& hostPath) override
    {
        xcb_connection_t* c = connection();
        if (!c)
            return true;
        const xcb_window_t found = documentWindow(c, hostPath);
        if (found == XCB_WINDOW_NONE)
            return false;
        othersOfItsName_.erase(hostPath);
        std::erase_if(broughtForward_, [found](const auto& entry) { return entry.second == found; });
        broughtForward_[hostPath] = found;

        if (!hasWindowManager(c)) {
            // Nobody stacks the windows: it is put over the others, over the
            // whole screen, and given the keyboard.
            const auto geometry = answer(c, xcb_get_geometry_reply, xcb_get_geometry(c, root(c)));
            if (geometry) {
                const uint32_t values[] = {0, 0, geometry->width, geometry->height, XCB_STACK_MODE_ABOVE};
                xcb_configure_window(c, found,
                                     XCB_CONFIG_WINDOW_X | XCB_CONFIG_WINDOW_Y | XCB_CONFIG_WINDOW_WIDTH
                                         | XCB_CONFIG_WINDOW_HEIGHT | XCB_CONFIG_WINDOW_STACK_MODE,
                                     values);
            }
            xcb_set_input_focus(c, XCB_INPUT_FOCUS_POINTER_ROOT, found, XCB_CURRENT_TIME);
            xcb_flush(c);
            return true;
        }

        sendToWindowManager(c, found, atom(c, "_NET_WM_STATE"),
                            {kStateAdd, atom(c, "_NET_WM_STATE_MAXIMIZED_VERT"),
                             atom(c, "_NET_WM_STATE_MAXIMIZED_HORZ"), kSourceUser, 0});
        sendToWindowManager(c, found, atom(c, "_NET_ACTIVE_WINDOW"), {kSourceUser, XCB_CURRENT_TIME, 0, 0, 0});
        xcb_flush(c);
        const QDateTime asked = clock().now();
        while (activeWindow(c) != found && asked.msecsTo(clock().now()) < kActivationSeconds * 1000)
            clock().wait(kActivationStepMs / 1000.0);
        clock().wait(kSettleSeconds);
        return true;
    }

    void activate(QWindow& window) override
    {
        xcb_connection_t* c = connection();
        if (!c || !hasWindowManager(c)) {
            window.requestActivate();
            return;
        }
        // A window just shown is the window manager's only once it has taken
        // it, which an activation asked before misses: asked until it is the
        // active one, for a while.
        const auto id = static_cast<xcb_window_t>(window.winId());
        const auto ask = [this, c, id] {
            sendToWindowManager(c, id, atom(c, "_NET_ACTIVE_WINDOW"), {kSourceUser, XCB_CURRENT_TIME, 0, 0, 0});
            xcb_flush(c);
        };
        ask();
        auto* again = new QTimer(&window);
        again->setInterval(kActivationStepMs);
        const QPointer<QWindow> asked(&window);
        int left = static_cast<int>(kActivationSeconds * 1000 / kActivationStepMs);
        QObject::connect(again, &QTimer::timeout, again, [this, c, id, ask, asked, again, left]() mutable {
            if (!asked || !asked->isVisible() || activeWindow(c) == id || --left <= 0) {
                again->deleteLater();
                return;
            }
            ask();
        });
        again->start();
    }

    bool wordProcessorOnScreen() override
    {
        xcb_connection_t* c = connection();
        if (!c)
            return false;
        for (xcb_window_t window : topWindows(c)) {
            if (isWordProcessorClass(text(c, window, XCB_ATOM_WM_CLASS, XCB_ATOM_STRING)))
                return true;
        }
        return false;
    }

    bool otherProgramActive() override
    {
        xcb_connection_t* c = connection();
        if (!c || !hasWindowManager(c))
            return false; // nobody keeps an active window
        const xcb_window_t active = activeWindow(c);
        if (active == XCB_WINDOW_NONE)
            return false;
        const auto pid = items(c, active, atom(c, "_NET_WM_PID"), XCB_ATOM_CARDINAL);
        return !pid.empty() && pid.front() != static_cast<uint32_t>(::getpid());
    }

private:
    static xcb_connection_t* connection()
    {
        auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
        return x11 ? x11->connection() : nullptr;
    }

    static xcb_window_t root(xcb_connection_t* c) { return xcb_setup_roots_iterator(xcb_get_setup(c)).data->root; }

    xcb_atom_t atom(xcb_connection_t* c, const char* name)
    {
        const auto known = atoms_.find(name);
        if (known != atoms_.end())
            return known->second;
        const auto reply =
            answer(c, xcb_intern_atom_reply, xcb_intern_atom(c, 0, static_cast<uint16_t>(std::strlen(name)), name));
        const xcb_atom_t value = reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
        atoms_[name] = value;
        return value;
    }

    // The values of a property of 32-bit items (windows, atoms).
    std::vector<uint32_t> items(xcb_connection_t* c, xcb_window_t window, xcb_atom_t property, xcb_atom_t type)
    {
        const auto reply = answer(c, xcb_get_property_reply, xcb_get_property(c, 0, window, property, type, 0, 4096));
        if (!reply || reply->format != 32)
            return {};
        const auto* values = static_cast<const uint32_t*>(xcb_get_property_value(reply.get()));
        return std::vector<uint32_t>(values, values + xcb_get_property_value_length(reply.get()) / 4);
    }

    // A text property of a window (STRING in Latin-1, UTF8_STRING); the
    // strings of a list (WM_CLASS) joined by a blank.
    QString text(xcb_connection_t* c, xcb_window_t window, xcb_atom_t property, xcb_atom_t type)
    {
        const auto reply = answer(c, xcb_get_property_reply, xcb_get_property(c, 0, window, property, type, 0, 1024));
        if (!reply || reply->format != 8)
            return {};
        const auto* value = static_cast<const char*>(xcb_get_property_value(reply.get()));
        const int length = xcb_get_property_value_length(reply.get());
        QString read = type == XCB_ATOM_STRING ? QString::fromLatin1(value, length) : QString::fromUtf8(value, length);
        while (read.endsWith(QChar(0)))
            read.chop(1);
        return read.replace(QChar(0), QLatin1Char(' '));
    }

    QString title(xcb_connection_t* c, xcb_window_t window)
    {
        const QString name = text(c, window, atom(c, "_NET_WM_NAME"), atom(c, "UTF8_STRING"));
        return name.isEmpty() ? text(c, window, XCB_ATOM_WM_NAME, XCB_ATOM_STRING) : name;
    }

    // A window manager that says so (EWMH), or one that only holds the
    // screen's window-manager selection (ICCCM): either sizes the windows
    // itself, and may take one sized to the screen as full-screen.
    bool hasWindowManager(xcb_connection_t* c)
    {
        if (!items(c, root(c), atom(c, "_NET_SUPPORTING_WM_CHECK"), XCB_ATOM_WINDOW).empty())
            return true;
        const auto owner = answer(c, xcb_get_selection_owner_reply, xcb_get_selection_owner(c, atom(c, "WM_S0")));
        return owner && owner->owner != XCB_WINDOW_NONE;
    }

    xcb_window_t activeWindow(xcb_connection_t* c)
    {
        const auto active = items(c, root(c), atom(c, "_NET_ACTIVE_WINDOW"), XCB_ATOM_WINDOW);
        return active.empty() ? xcb_window_t(XCB_WINDOW_NONE) : active.front();
    }

    // The window that shows the document: of those whose title names its
    // file, not one that another file of that name had when the document was
    // given to the word processor, nor one brought forward for another file;
    // the one brought forward for this file before, or else the newest.
    xcb_window_t documentWindow(xcb_connection_t* c, const QString& hostPath)
    {
        const std::vector<xcb_window_t> windows = topWindows(c);
        std::erase_if(broughtForward_, [&windows](const auto& entry) { return !contains(windows, entry.second); });
        const auto others = othersOfItsName_.find(hostPath);
        const auto before = broughtForward_.find(hostPath);
        const QString name = QFileInfo(hostPath).fileName();
        xcb_window_t found = XCB_WINDOW_NONE;
        for (xcb_window_t window : windows) {
            if (!isDocumentWindowTitle(title(c, window), name)
                || (others != othersOfItsName_.end() && contains(others->second, window))
                || std::any_of(broughtForward_.begin(), broughtForward_.end(),
                               [&](const auto& entry) { return entry.second == window && entry.first != hostPath; }))
                continue;
            found = window;
            if (before != broughtForward_.end() && before->second == window)
                break;
        }
        return found;
    }

    // The windows of programs on the screen, oldest first: the window
    // manager's list, or the windows shown on the root where there is none.
    std::vector<xcb_window_t> topWindows(xcb_connection_t* c)
    {
        std::vector<xcb_window_t> clients = items(c, root(c), atom(c, "_NET_CLIENT_LIST"), XCB_ATOM_WINDOW);
        if (!clients.empty())
            return clients;
        std::vector<xcb_window_t> shown;
        const auto tree = answer(c, xcb_query_tree_reply, xcb_query_tree(c, root(c)));
        if (!tree)
            return shown;
        const xcb_window_t* children = xcb_query_tree_children(tree.get());
        for (int i = 0; i < xcb_query_tree_children_length(tree.get()); ++i) {
            const auto attributes =
                answer(c, xcb_get_window_attributes_reply, xcb_get_window_attributes(c, children[i]));
            if (attributes && attributes->map_state == XCB_MAP_STATE_VIEWABLE)
                shown.push_back(children[i]);
        }
        return shown;
    }

    void sendToWindowManager(xcb_connection_t* c, xcb_window_t window, xcb_atom_t type,
                             std::initializer_list<uint32_t> data)
    {
        xcb_client_message_event_t message{};
        message.response_type = XCB_CLIENT_MESSAGE;
        message.format = 32;
        message.window = window;
        message.type = type;
        int i = 0;
        for (uint32_t value : data)
            message.data.data32[i++] = value;
        xcb_send_event(c, 0, root(c), XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                       reinterpret_cast<const char*>(&message));
    }

    std::map<std::string, xcb_atom_t> atoms_;
    std::map<QString, std::vector<xcb_window_t>> othersOfItsName_; // by document expected
    std::map<QString, xcb_window_t> broughtForward_;               // by document shown
};

} // namespace

ServiceSlot<DesktopWindows>& desktopWindowsSlot()
{
    static ServiceSlot<DesktopWindows> slot(
        []() -> std::unique_ptr<DesktopWindows> { return std::make_unique<X11Windows>(); });
    return slot;
}

} // namespace platform
