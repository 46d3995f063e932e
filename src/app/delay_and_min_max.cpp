#include "app/delay_and_min_max.h"

#include <QCoreApplication>
#include <chrono>

std::uint32_t SystemTickCount() {
    auto now = std::chrono::steady_clock::now().time_since_epoch();
    return static_cast<std::uint32_t>(
        std::chrono::duration_cast<std::chrono::milliseconds>(now).count());
}

void Delay(std::uint32_t milliseconds, const TickSource& tick) {
    const std::uint32_t target = tick() + milliseconds;
    do {
        QCoreApplication::processEvents(QEventLoop::AllEvents);
    } while (tick() < target);
}
