#pragma once
// One X connection that watches a display from outside, as a user's eye would: it learns of
// every top-level window as it is created and reports the moment each is mapped, unmapped
// or resized, and it clicks and types through the XTest extension like a real device.

#include <QByteArray>
#include <QPoint>
#include <QRect>
#include <QString>
#include <chrono>
#include <cstdint>
#include <functional>
#include <optional>

struct xcb_connection_t;

namespace ux {

using Clock = std::chrono::steady_clock;

inline double millisecondsBetween(Clock::time_point from, Clock::time_point to) {
    return std::chrono::duration<double, std::milli>(to - from).count();
}

struct WindowEvent {
    enum Kind { Mapped, Unmapped, Resized } kind;
    std::uint32_t window;
    QSize size; // for Resized
    Clock::time_point at;
};

class Watcher {
public:
    // Connects to `display` and starts listening at once, so no window created from now on
    // escapes; false from ok() when the server cannot be reached or lacks XTest.
    explicit Watcher(const QByteArray& display);
    ~Watcher();
    Watcher(const Watcher&) = delete;
    Watcher& operator=(const Watcher&) = delete;
    bool ok() const { return ok_; }

    // The next event for which `wanted` holds, or nothing once `timeoutMs` have passed.
    std::optional<WindowEvent> waitFor(const std::function<bool(const WindowEvent&)>& wanted,
                                       int timeoutMs);

    QString name(std::uint32_t window);
    QRect geometry(std::uint32_t window); // in root coordinates
    QSize rootSize() const;

    // Moves the pointer to `at`, presses and releases the left button; returns the moment the
    // press left for the server.
    Clock::time_point click(QPoint at);
    void pressKey(std::uint32_t keysym);

private:
    void watchNewWindow(std::uint32_t window);
    std::uint8_t keycodeOf(std::uint32_t keysym);

    xcb_connection_t* connection_ = nullptr;
    std::uint32_t root_ = 0;
    QSize rootSize_;
    bool ok_ = false;
};

} // namespace ux
