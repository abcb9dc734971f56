#include "Options.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>

namespace kxsim {
namespace {

const char kUsage[] =
    "usage: kxsim [unit|silent|echo|split-banner|slow|stream] [options]\n"
    "  --reading T          temperature in the answer to X, -999.9..9999.9 (default 23.5)\n"
    "  --line-end nr|rn|n   line end of the answers after the banner (default nr: \\n\\r)\n"
    "  --delay-ms N         slow: delay before each answer (default 1000)\n"
    "  --split-pause-ms N   split-banner: pause after the banner's first 12 chars (default 150)\n"
    "  --log FILE           append every received byte to FILE\n"
    "  --link PATH          also make PATH a symlink to the device side of the pty\n"
    "Prints the device path on the first line of stdout; stops on SIGINT or SIGTERM.\n";

bool Fail() {
    std::fputs(kUsage, stderr);
    return false;
}

bool ToInt(const char* text, int& value) {
    char* end = nullptr;
    const long parsed = std::strtol(text, &end, 10);
    if (*text == '\0' || *end != '\0' || parsed < 0 || parsed > 600000) {
        return false;
    }
    value = static_cast<int>(parsed);
    return true;
}

// The reading as the unit prints it: six characters, one decimal.
bool ToReading(const char* text, std::string& reading) {
    char* end = nullptr;
    const double value = std::strtod(text, &end);
    if (*text == '\0' || *end != '\0' || !(value >= -999.9 && value <= 9999.9)) {
        return false;
    }
    char formatted[16];
    std::snprintf(formatted, sizeof formatted, "%6.1f", value);
    reading = formatted;
    return reading.size() == 6;
}

} // namespace

bool ParseOptions(int argc, char** argv, Options& options) {
    static const std::map<std::string, Mode> modes = {{"unit", Mode::Unit},
                                                      {"silent", Mode::Silent},
                                                      {"echo", Mode::Echo},
                                                      {"slow", Mode::Slow},
                                                      {"split-banner", Mode::SplitBanner},
                                                      {"stream", Mode::Stream}};
    static const std::map<std::string, std::string> lineEnds = {
        {"nr", "\n\r"}, {"rn", "\r\n"}, {"n", "\n"}};
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const auto mode = modes.find(arg);
        if (mode != modes.end()) {
            options.mode = mode->second;
            continue;
        }
        if (i + 1 >= argc) {
            return Fail();
        }
        const char* value = argv[++i];
        bool ok = true;
        if (arg == "--reading") {
            ok = ToReading(value, options.reading);
        } else if (arg == "--line-end") {
            const auto end = lineEnds.find(value);
            ok = end != lineEnds.end();
            if (ok) {
                options.lineEnd = end->second;
            }
        } else if (arg == "--delay-ms") {
            ok = ToInt(value, options.delayMs);
        } else if (arg == "--split-pause-ms") {
            ok = ToInt(value, options.splitPauseMs);
        } else if (arg == "--log") {
            options.logPath = value;
        } else if (arg == "--link") {
            options.linkPath = value;
        } else {
            ok = false;
        }
        if (!ok) {
            return Fail();
        }
    }
    return true;
}

} // namespace kxsim
