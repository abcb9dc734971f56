#pragma once
// The KX unit's commands and the one part of its answers that discovery relies on.
// Every sender takes its bytes from here, so the wire format lives in one place.
#include <cstddef>
#include <string>

namespace UnitCommands {

// Identify: the unit answers with its banner. Query: the unit answers with its readings.
constexpr char kIdentify[] = "Q";
constexpr char kQuery[] = "X";

// The first characters of the unit's answer to kIdentify.
constexpr char kBanner[] = "Quorvane Telemetry";
constexpr size_t kBannerLength = sizeof(kBanner) - 1;

// True when the NUL-terminated reply holds at least the banner's length and begins with
// the banner, byte for byte and case-sensitive. Nothing before the banner is allowed.
bool StartsWithBanner(const char* reply);

// "C" + two year characters + two month characters; the caller has checked both lengths.
std::string StoreDate(const std::string& year, const std::string& month);

// "O" + the four characters of the offset in tenths, formatted as "%+04.0f" ("+015").
std::string StoreOffset(const std::string& signedTenths);

} // namespace UnitCommands
