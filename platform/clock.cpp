#include "platform/clock.h"

#include <ctime>

namespace kx {
namespace {

int RealLocalTimeSecond() {
    const std::time_t now = std::time(nullptr);
    // Only the window thread asks, so the shared result of localtime is safe here.
    const std::tm* local = std::localtime(&now);
    return local ? local->tm_sec : -1;
}

SecondSource g_source = nullptr;

} // namespace

int LocalTimeSecond() {
    return g_source ? g_source() : RealLocalTimeSecond();
}

void SetSecondSourceForTesting(SecondSource source) {
    g_source = source;
}

} // namespace kx
