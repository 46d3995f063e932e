#include "ux_watch.h"

#include <cstdlib>
#include <memory>
#include <poll.h>
#include <xcb/xcb.h>
#include <xcb/xtest.h>

namespace ux {

namespace {

struct FreeDeleter {
    void operator()(void* pointer) const { std::free(pointer); }
};
template <typename T> using Owned = std::unique_ptr<T, FreeDeleter>;

} // namespace

Watcher::Watcher(const QByteArray& display) {
    connection_ = xcb_connect(display.constData(), nullptr);
    if (xcb_connection_has_error(connection_))
        return;
    const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(connection_)).data;
    root_ = screen->root;
    rootSize_ = QSize(screen->width_in_pixels, screen->height_in_pixels);
    const uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    xcb_change_window_attributes(connection_, root_, XCB_CW_EVENT_MASK, &mask);
    const xcb_query_extension_reply_t* xtest = xcb_get_extension_data(connection_, &xcb_test_id);
    ok_ = xtest && xtest->present;
    xcb_flush(connection_);
}

Watcher::~Watcher() {
    xcb_disconnect(connection_);
}

QSize Watcher::rootSize() const {
    return rootSize_;
}

void Watcher::watchNewWindow(uint32_t window) {
    // A client window is created on the root before the window manager frames it, so every
    // window of a program passes here; its own map and size changes then reach us.
    const uint32_t mask = XCB_EVENT_MASK_STRUCTURE_NOTIFY;
    xcb_change_window_attributes(connection_, window, XCB_CW_EVENT_MASK, &mask);
    xcb_flush(connection_);
}

std::optional<WindowEvent> Watcher::waitFor(const std::function<bool(const WindowEvent&)>& wanted,
                                            int timeoutMs) {
    const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    while (true) {
        Owned<xcb_generic_event_t> event(xcb_poll_for_event(connection_));
        if (!event) {
            if (xcb_connection_has_error(connection_))
                return std::nullopt;
            const auto left =
                std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now())
                    .count();
            if (left <= 0)
                return std::nullopt;
            pollfd descriptor{xcb_get_file_descriptor(connection_), POLLIN, 0};
            poll(&descriptor, 1, int(left));
            continue;
        }
        const Clock::time_point at = Clock::now();
        std::optional<WindowEvent> seen;
        switch (event->response_type & 0x7F) {
        case XCB_CREATE_NOTIFY: {
            auto* created = reinterpret_cast<xcb_create_notify_event_t*>(event.get());
            if (created->parent == root_)
                watchNewWindow(created->window);
            break;
        }
        case XCB_MAP_NOTIFY: {
            auto* mapped = reinterpret_cast<xcb_map_notify_event_t*>(event.get());
            if (mapped->event == mapped->window) // the window's own report, not its parent's
                seen = WindowEvent{WindowEvent::Mapped, mapped->window, {}, at};
            break;
        }
        case XCB_UNMAP_NOTIFY: {
            auto* unmapped = reinterpret_cast<xcb_unmap_notify_event_t*>(event.get());
            if (unmapped->event == unmapped->window)
                seen = WindowEvent{WindowEvent::Unmapped, unmapped->window, {}, at};
            break;
        }
        case XCB_CONFIGURE_NOTIFY: {
            auto* configured = reinterpret_cast<xcb_configure_notify_event_t*>(event.get());
            if (configured->event == configured->window)
                seen = WindowEvent{WindowEvent::Resized, configured->window,
                                   QSize(configured->width, configured->height), at};
            break;
        }
        default:
            break;
        }
        if (seen && wanted(*seen))
            return seen;
    }
}

QString Watcher::name(uint32_t window) {
    Owned<xcb_get_property_reply_t> reply(
        xcb_get_property_reply(connection_,
                               xcb_get_property(connection_, 0, window, XCB_ATOM_WM_NAME,
                                                XCB_GET_PROPERTY_TYPE_ANY, 0, 256),
                               nullptr));
    if (!reply)
        return {};
    return QString::fromUtf8(static_cast<const char*>(xcb_get_property_value(reply.get())),
                             xcb_get_property_value_length(reply.get()));
}

QRect Watcher::geometry(uint32_t window) {
    Owned<xcb_get_geometry_reply_t> size(
        xcb_get_geometry_reply(connection_, xcb_get_geometry(connection_, window), nullptr));
    Owned<xcb_translate_coordinates_reply_t> place(xcb_translate_coordinates_reply(
        connection_, xcb_translate_coordinates(connection_, window, root_, 0, 0), nullptr));
    if (!size || !place)
        return {};
    return QRect(place->dst_x, place->dst_y, size->width, size->height);
}

Clock::time_point Watcher::click(QPoint at) {
    xcb_test_fake_input(connection_, XCB_MOTION_NOTIFY, 0, XCB_CURRENT_TIME, root_, int16_t(at.x()),
                        int16_t(at.y()), 0);
    // The pointer is in place before the press, as a hand would have it.
    std::free(xcb_get_input_focus_reply(connection_, xcb_get_input_focus(connection_), nullptr));
    const Clock::time_point pressed = Clock::now();
    xcb_test_fake_input(connection_, XCB_BUTTON_PRESS, 1, XCB_CURRENT_TIME, root_, 0, 0, 0);
    xcb_test_fake_input(connection_, XCB_BUTTON_RELEASE, 1, XCB_CURRENT_TIME, root_, 0, 0, 0);
    xcb_flush(connection_);
    return pressed;
}

uint8_t Watcher::keycodeOf(uint32_t keysym) {
    const xcb_setup_t* setup = xcb_get_setup(connection_);
    const int count = setup->max_keycode - setup->min_keycode + 1;
    Owned<xcb_get_keyboard_mapping_reply_t> mapping(xcb_get_keyboard_mapping_reply(
        connection_, xcb_get_keyboard_mapping(connection_, setup->min_keycode, uint8_t(count)),
        nullptr));
    if (!mapping)
        return 0;
    const xcb_keysym_t* symbols = xcb_get_keyboard_mapping_keysyms(mapping.get());
    for (int key = 0; key < count; ++key)
        for (int column = 0; column < mapping->keysyms_per_keycode; ++column)
            if (symbols[key * mapping->keysyms_per_keycode + column] == keysym)
                return uint8_t(setup->min_keycode + key);
    return 0;
}

void Watcher::pressKey(uint32_t keysym) {
    const uint8_t keycode = keycodeOf(keysym);
    xcb_test_fake_input(connection_, XCB_KEY_PRESS, keycode, XCB_CURRENT_TIME, root_, 0, 0, 0);
    xcb_test_fake_input(connection_, XCB_KEY_RELEASE, keycode, XCB_CURRENT_TIME, root_, 0, 0, 0);
    xcb_flush(connection_);
}

} // namespace ux
