#include "wizard/NumberText.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <system_error>
#include <vector>

namespace NumberText {
namespace {

bool IsSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// Exponents beyond this are infinity or zero for any text that fits in memory.
constexpr long long kExponentLimit = 1000000000LL;

// The prefix that forms a number, rewritten so that std::from_chars (which knows no sign
// "+" and no "d" exponent) reads it exactly.
struct DecimalParts {
    bool negative = false;
    std::string digits;          // integer digits, then fraction digits
    long long pointPosition = 0; // number of integer digits
    long long exponent = 0;
};

bool Scan(const std::string& text, DecimalParts& parts) {
    size_t i = 0;
    while (i < text.size() && IsSpace(text[i]))
        ++i;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        parts.negative = text[i++] == '-';
    while (i < text.size() && IsDigit(text[i]))
        parts.digits += text[i++];
    parts.pointPosition = static_cast<long long>(parts.digits.size());
    if (i < text.size() && text[i] == '.') {
        ++i;
        while (i < text.size() && IsDigit(text[i]))
            parts.digits += text[i++];
    }
    if (parts.digits.empty())
        return false;
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E' || text[i] == 'd' || text[i] == 'D')) {
        size_t j = i + 1;
        bool negativeExponent = false;
        if (j < text.size() && (text[j] == '+' || text[j] == '-'))
            negativeExponent = text[j++] == '-';
        const size_t exponentDigits = j;
        long long exponent = 0;
        while (j < text.size() && IsDigit(text[j]))
            exponent = std::min(kExponentLimit, exponent * 10 + (text[j++] - '0'));
        // Without digits the letter is not part of the number.
        if (j > exponentDigits)
            parts.exponent = negativeExponent ? -exponent : exponent;
    }
    return true;
}

double Convert(const DecimalParts& parts) {
    const size_t first = parts.digits.find_first_not_of('0');
    if (first == std::string::npos)
        return parts.negative ? -0.0 : 0.0;
    // The significant digits as a whole number times a power of ten.
    const std::string significant = parts.digits.substr(first);
    const long long scale = parts.pointPosition - static_cast<long long>(first) -
                            static_cast<long long>(significant.size()) + parts.exponent;
    const std::string normal = significant + "e" + std::to_string(scale);
    double value = 0.0;
    const auto result = std::from_chars(normal.data(), normal.data() + normal.size(), value);
    if (result.ec == std::errc::result_out_of_range) {
        // Magnitude of the leading digit decides between overflow and underflow.
        const long long leading = scale + static_cast<long long>(significant.size());
        value = leading > 0 ? HUGE_VAL : 0.0;
    }
    return parts.negative ? -value : value;
}

// Exact decimal digits of a non-negative whole number held in a double.
std::string WholeDigits(double whole) {
    if (whole < 18446744073709551616.0)
        return std::to_string(static_cast<uint64_t>(whole));
    int exponent = 0;
    const double fraction = std::frexp(whole, &exponent);
    uint64_t mantissa = static_cast<uint64_t>(std::ldexp(fraction, 53));
    exponent -= 53;
    std::vector<int> digits; // least significant first
    for (; mantissa > 0; mantissa /= 10)
        digits.push_back(static_cast<int>(mantissa % 10));
    for (int k = 0; k < exponent; ++k) {
        int carry = 0;
        for (int& d : digits) {
            const int twice = d * 2 + carry;
            d = twice % 10;
            carry = twice / 10;
        }
        if (carry)
            digits.push_back(carry);
    }
    std::string text;
    for (auto it = digits.rbegin(); it != digits.rend(); ++it)
        text += static_cast<char>('0' + *it);
    return text;
}

std::string PadLeft(std::string digits, size_t width) {
    if (digits.size() < width)
        digits.insert(0, width - digits.size(), '0');
    return digits;
}

} // namespace

double ToDouble(const std::string& text) {
    DecimalParts parts;
    return Scan(text, parts) ? Convert(parts) : 0.0;
}

float ToSingle(const std::string& text) {
    return static_cast<float>(ToDouble(text));
}

std::string FormatSignedWhole(double value) {
    if (!std::isfinite(value))
        return std::string();
    // std::round goes half-way away from zero and is exact for every double.
    const std::string digits = PadLeft(WholeDigits(std::round(std::fabs(value))), 3);
    return (std::signbit(value) ? "-" : "+") + digits;
}

std::string FormatOneDecimal(float value) {
    if (!std::isfinite(value))
        return std::string();
    // A float has 24 significant bits, so ten times it is exact in double precision and
    // the half-way test below sees the exact binary value.
    const double tenths = std::round(std::fabs(static_cast<double>(value)) * 10.0);
    std::string digits = PadLeft(WholeDigits(tenths), 2);
    digits.insert(digits.size() - 1, ".");
    return (std::signbit(value) ? "-" : "") + digits;
}

} // namespace NumberText
