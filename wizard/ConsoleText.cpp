#include "wizard/ConsoleText.h"

namespace ConsoleText {

std::string ToConsoleLineEnds(std::string text) {
    for (size_t i = 0; i + 1 < text.size(); ++i) {
        if (text[i] == '\n' && text[i + 1] == '\r') {
            text[i] = '\r';
            text[i + 1] = '\n';
            ++i; // pairs never overlap
        }
    }
    return text;
}

} // namespace ConsoleText
