#include <ctime>
#include <string>

#include "landing_recorder.h"

namespace tanabashigo {

std::string localTimeNow() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    // strftime's %z is +hhmm; a record line wants +hh:mm, +00:00 too, so the reader sees the
    // local clock's zone.
    char text[32];
    const std::size_t length = std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%S%z", &local);
    std::string time(text, length);
    return time.insert(time.size() - 2, ":");
}

}  // namespace tanabashigo
