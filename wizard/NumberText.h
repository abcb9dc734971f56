#pragma once
// Numbers typed by the technician and read from the probe, and the two ways the wizard
// prints them. Independent of the user's locale: "." is always the decimal point.
#include <string>

namespace NumberText {

// Decimal text to a number, the way atof reads it: leading white space, an optional sign,
// digits with an optional "." and fraction, an optional exponent (e, E, d or D, optional
// sign, digits). The longest such prefix counts; text without one gives 0. "inf", "nan"
// and hexadecimal are not numbers here. Too large gives an infinity, too small zero.
double ToDouble(const std::string& text);

// The same, held in single precision as the wizard keeps temperatures and offsets.
float ToSingle(const std::string& text);

// "%+04.0f": sign always ("-" also for negative zero and values that round to zero), the
// whole number with at least three digits, half-way values rounded away from zero.
// Never shortened: a value of 1000 gives five characters. Finite values only.
std::string FormatSignedWhole(double value);

// "%02.1f": one decimal, half-way values (of the exact binary value) rounded away from
// zero, "-" for negative values including negative zero. Finite values only.
std::string FormatOneDecimal(float value);

} // namespace NumberText
