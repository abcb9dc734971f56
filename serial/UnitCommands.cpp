#include "serial/UnitCommands.h"

#include <cstring>

namespace UnitCommands {

bool StartsWithBanner(const char* reply) {
    // strncmp stops at the reply's NUL, so a shorter reply never matches.
    return std::strncmp(reply, kBanner, kBannerLength) == 0;
}

std::string StoreDate(const std::string& year, const std::string& month) {
    return "C" + year + month;
}

std::string StoreOffset(const std::string& signedTenths) {
    return "O" + signedTenths;
}

} // namespace UnitCommands
