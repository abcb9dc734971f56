#pragma once
#include <string>

namespace kx {
// The executable's file name without its extension: the application's name, used as the
// caption of the framework's message boxes and as the web probe's user agent.
std::string AppName();
} // namespace kx
