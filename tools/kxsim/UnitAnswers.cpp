#include "UnitAnswers.h"

namespace kxsim {
namespace {

constexpr size_t kArgumentBytes = 4; // "C" + YYMM, "O" + sign and three digits

} // namespace

UnitAnswers::UnitAnswers(std::string reading, std::string lineEnd)
    : m_reading(std::move(reading)), m_lineEnd(std::move(lineEnd)) {}

std::string UnitAnswers::Take(char byte) {
    if (m_command.empty()) {
        if (byte == 'Q' || byte == 'X') {
            return std::string(1, byte);
        }
        if (byte == 'C' || byte == 'O') {
            m_command = byte;
        }
        return {};
    }
    m_command += byte;
    if (m_command.size() < 1 + kArgumentBytes) {
        return {};
    }
    std::string complete;
    complete.swap(m_command);
    return complete;
}

std::string UnitAnswers::AnswerTo(const std::string& command) const {
    switch (command.empty() ? '\0' : command[0]) {
    case 'Q':
        return kBannerLine;
    case 'X':
        // "g" of "reading" stands seven places before the reading's "." (two unexamined
        // characters, ": ", then the six characters of the reading).
        return "Probe KX-0042" + m_lineEnd + "Temp reading: " + m_reading + m_lineEnd +
               "Status OK" + m_lineEnd;
    case 'C':
        return "Cal date stored: " + command.substr(1) + m_lineEnd;
    case 'O':
        return "Offset stored: " + command.substr(1) + m_lineEnd;
    default:
        return {};
    }
}

} // namespace kxsim
