#include "platform/window_manager_hints.h"

#include <QGuiApplication>
#include <QWindow>

#ifdef SKRIBANDO_HAVE_XCB_SHM

#include <QtGui/qguiapplication_platform.h>
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <initializer_list>
#include <memory>
#include <vector>
#include <xcb/xcb.h>

namespace {

// EWMH: the action of a _NET_WM_STATE request, and who asks (the source indication).
constexpr uint32_t kStateRemove = 0;
constexpr uint32_t kFromApplication = 1;
constexpr uint32_t kFromPager = 2;

struct FreeDeleter {
    void operator()(void* pointer) const { std::free(pointer); }
};
template <typename T> using Owned = std::unique_ptr<T, FreeDeleter>;

xcb_atom_t atomNamed(xcb_connection_t* xcb, const char* name) {
    Owned<xcb_intern_atom_reply_t> reply(xcb_intern_atom_reply(
        xcb, xcb_intern_atom(xcb, 0, static_cast<uint16_t>(std::strlen(name)), name), nullptr));
    return reply ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
}

xcb_connection_t* connection() {
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    return x11 ? x11->connection() : nullptr;
}

// A request about `window` to the window manager, sent as EWMH says: to the root window.
void sendToWindowManager(xcb_connection_t* xcb, xcb_window_t window, xcb_atom_t type,
                         std::initializer_list<uint32_t> data) {
    xcb_client_message_event_t request{};
    request.response_type = XCB_CLIENT_MESSAGE;
    request.format = 32;
    request.window = window;
    request.type = type;
    std::copy(data.begin(), data.end(), request.data.data32);
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(xcb)).data->root;
    xcb_send_event(xcb, 0, root,
                   XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                   reinterpret_cast<const char*>(&request));
}

} // namespace

void KeepOutOfTaskList(QWindow& window) {
    xcb_connection_t* xcb = connection();
    if (!xcb)
        return;
    const auto id = static_cast<xcb_window_t>(window.winId());
    const xcb_atom_t state = atomNamed(xcb, "_NET_WM_STATE");
    // The states already set stay: Qt merges its own into them when it shows the window.
    std::vector<xcb_atom_t> states;
    Owned<xcb_get_property_reply_t> current(xcb_get_property_reply(
        xcb, xcb_get_property(xcb, 0, id, state, XCB_ATOM_ATOM, 0, 64), nullptr));
    if (current && current->format == 32) {
        const auto* set = static_cast<const xcb_atom_t*>(xcb_get_property_value(current.get()));
        states.assign(set, set + xcb_get_property_value_length(current.get()) / 4);
    }
    for (const char* name : {"_NET_WM_STATE_SKIP_TASKBAR", "_NET_WM_STATE_SKIP_PAGER"}) {
        const xcb_atom_t added = atomNamed(xcb, name);
        if (std::find(states.begin(), states.end(), added) == states.end())
            states.push_back(added);
    }
    xcb_change_property(xcb, XCB_PROP_MODE_REPLACE, id, state, XCB_ATOM_ATOM, 32,
                        static_cast<uint32_t>(states.size()), states.data());
    xcb_flush(xcb);
}

void ShowInTaskList(QWindow& window, bool shown) {
    xcb_connection_t* xcb = connection();
    if (!xcb)
        return;
    const xcb_atom_t kind =
        atomNamed(xcb, shown ? "_NET_WM_WINDOW_TYPE_NORMAL" : "_NET_WM_WINDOW_TYPE_UTILITY");
    const auto id = static_cast<xcb_window_t>(window.winId());
    xcb_change_property(xcb, XCB_PROP_MODE_REPLACE, id, atomNamed(xcb, "_NET_WM_WINDOW_TYPE"),
                        XCB_ATOM_ATOM, 32, 1, &kind);
    // Some window managers mark a shown tool window as left out of task lists themselves;
    // a shown window's states change only on request.
    if (shown && window.isVisible()) {
        sendToWindowManager(xcb, id, atomNamed(xcb, "_NET_WM_STATE"),
                            {kStateRemove, atomNamed(xcb, "_NET_WM_STATE_SKIP_TASKBAR"),
                             atomNamed(xcb, "_NET_WM_STATE_SKIP_PAGER"), kFromApplication});
    }
    xcb_flush(xcb);
}

void ActivateWindow(QWindow& window) {
    xcb_connection_t* xcb = connection();
    if (!xcb) {
        window.requestActivate();
        return;
    }
    sendToWindowManager(xcb, static_cast<xcb_window_t>(window.winId()),
                        atomNamed(xcb, "_NET_ACTIVE_WINDOW"),
                        {kFromPager, XCB_CURRENT_TIME, 0}); // now, no window of ours active
    xcb_flush(xcb);
}

#else

void ActivateWindow(QWindow& window) {
    window.requestActivate();
}
void KeepOutOfTaskList(QWindow&) {}
void ShowInTaskList(QWindow&, bool) {}

#endif
