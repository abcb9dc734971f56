#pragma once
// kxsim's command line.
#include <string>

namespace kxsim {

enum class Mode { Unit, Silent, Echo, SplitBanner, Slow, Stream };

struct Options {
    Mode mode = Mode::Unit;
    std::string reading = "  23.5"; // the six characters of the temperature reading
    std::string lineEnd = "\n\r";   // ends the lines of every answer but the banner
    int delayMs = 1000;             // slow: how long each answer waits
    int splitPauseMs = 150;         // split-banner: pause between the banner's two pieces
    std::string logPath;            // every received byte is appended here
    std::string linkPath;           // a symlink to the device side of the pty
};

// Parses argv; on a bad command line prints usage to stderr and returns false.
bool ParseOptions(int argc, char** argv, Options& options);

} // namespace kxsim
