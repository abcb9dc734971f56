#pragma once
#include <string>

namespace ConsoleText {

// The unit ends its lines with LF CR; the console breaks lines at CR LF. Each LF CR pair,
// scanned from the start without overlap, becomes CR LF. The length never changes.
std::string ToConsoleLineEnds(std::string text);

} // namespace ConsoleText
