#pragma once
// The KX unit's side of the command set: commands arrive as bare bytes with no line end,
// so they are recognised byte by byte ("C" and "O" each take four more bytes).
#include <string>

namespace kxsim {

// The unit's own copy of its banner line, not the wizard's constant: a wrong banner on the
// wizard's side must fail against the simulated unit instead of being mirrored by it.
constexpr char kBannerLine[] = "Quorvane Telemetry\r\n";

class UnitAnswers {
  public:
    UnitAnswers(std::string reading, std::string lineEnd);

    // Takes one received byte. Returns the command it completes ("Q", "X", "C1001",
    // "O+015"), or an empty string. Bytes that start no command are ignored.
    std::string Take(char byte);

    // The unit's answer to a complete command.
    std::string AnswerTo(const std::string& command) const;

  private:
    std::string m_reading;
    std::string m_lineEnd;
    std::string m_command; // the command being received
};

} // namespace kxsim
