#include "wizard/NumberText.h"

#include <cmath>
#include <gtest/gtest.h>
#include <string>

namespace {

struct ParseCase {
    const char* text;
    double expected;
};

TEST(NumberTextToDouble, ReadsTheLongestDecimalPrefix) {
    const ParseCase cases[] = {
        {"0", 0.0},       {"12.7", 12.7},     {"  -1.25", -1.25}, {"\t\n\v\f\r+3", 3.0},
        {".5", 0.5},      {"5.", 5.0},        {"-.25x", -0.25},   {"1e3", 1000.0},
        {"1E+2", 100.0},  {"2d-1", 0.2},      {"2D2", 200.0},     {"1e", 1.0},
        {"1e+", 1.0},     {"7.5e-x", 7.5},    {"12abc", 12.0},    {"23.5 C", 23.5},
        {"  23.5", 23.5}, {"1.2.3", 1.2},     {"0x10", 0.0},      {"00012", 12.0},
        {"1,5", 1.0},     {"0.000001", 1e-6}, {"-0.04", -0.04},   {"99.95", 99.95},
    };
    for (const ParseCase& c : cases)
        EXPECT_EQ(NumberText::ToDouble(c.text), c.expected) << '"' << c.text << '"';
}

TEST(NumberTextToDouble, TextWithoutANumberIsZero) {
    for (const char* text : {"", " ", "-", "+", ".", "-.", "e5", "abc", "inf", "-inf", "nan",
                             "infinity", "NAN", " . 5", "+-1"}) {
        const double value = NumberText::ToDouble(text);
        EXPECT_EQ(value, 0.0) << '"' << text << '"';
        EXPECT_FALSE(std::signbit(value)) << '"' << text << '"';
    }
}

TEST(NumberTextToDouble, KeepsTheSignOfZero) {
    EXPECT_TRUE(std::signbit(NumberText::ToDouble("-0")));
    EXPECT_TRUE(std::signbit(NumberText::ToDouble("-0.000e7")));
    EXPECT_FALSE(std::signbit(NumberText::ToDouble("0")));
}

TEST(NumberTextToDouble, ExtremeMagnitudes) {
    EXPECT_EQ(NumberText::ToDouble("1e999"), HUGE_VAL);
    EXPECT_EQ(NumberText::ToDouble("-1e999999999999999999"), -HUGE_VAL);
    EXPECT_EQ(NumberText::ToDouble("1e-999"), 0.0);
    EXPECT_EQ(NumberText::ToDouble("1e-99999999999999999999"), 0.0);
    EXPECT_EQ(NumberText::ToDouble("1.7976931348623157e308"), 1.7976931348623157e308);
    // A long run of digits is read exactly, not cut at some buffer size.
    EXPECT_EQ(NumberText::ToDouble(std::string(400, '0') + "1.5"), 1.5);
    EXPECT_EQ(NumberText::ToDouble("0." + std::string(400, '0') + "1e401"), 1.0);
    EXPECT_EQ(NumberText::ToDouble("1" + std::string(400, '0') + "e-400"), 1.0);
    EXPECT_TRUE(std::isinf(NumberText::ToSingle("1e39")));
    EXPECT_EQ(NumberText::ToSingle("1e38"), 1e38f);
}

struct FormatCase {
    double value;
    const char* expected;
};

TEST(NumberTextFormatSignedWhole, SignAlwaysThreeDigitsHalfAwayFromZero) {
    const FormatCase cases[] = {
        {0.0, "+000"},     {-0.0, "-000"},     {-0.4, "-000"},    {0.4, "+000"},
        {12.5, "+013"},    {-12.5, "-013"},    {2.5, "+003"},     {-2.5, "-003"},
        {0.5, "+001"},     {1.5, "+002"},      {15.0, "+015"},    {-3.0, "-003"},
        {127.0, "+127"},   {999.0, "+999"},    {-999.0, "-999"},  {999.5, "+1000"},
        {-999.5, "-1000"}, {999.4999, "+999"}, {1e6, "+1000000"},
    };
    for (const FormatCase& c : cases)
        EXPECT_EQ(NumberText::FormatSignedWhole(c.value), c.expected) << c.value;
}

TEST(NumberTextFormatSignedWhole, HugeValuesKeepEveryDigit) {
    EXPECT_EQ(NumberText::FormatSignedWhole(1e20), "+100000000000000000000");
    EXPECT_EQ(NumberText::FormatSignedWhole(static_cast<double>(1e38f)),
              "+99999996802856924650656260769173209088");
    const std::string max = NumberText::FormatSignedWhole(1.7976931348623157e308);
    EXPECT_EQ(max.size(), 310u);
    EXPECT_EQ(max.substr(0, 18), "+17976931348623157");
}

TEST(NumberTextFormatOneDecimal, OneDecimalHalfAwayFromZero) {
    const struct {
        float value;
        const char* expected;
    } cases[] = {
        {0.0f, "0.0"},    {-0.0f, "-0.0"}, {1.25f, "1.3"},          {-1.25f, "-1.3"},
        {-0.25f, "-0.3"}, {0.25f, "0.3"},  {0.05f, "0.1"},          {-0.04f, "-0.0"},
        {12.7f, "12.7"},  {12.8f, "12.8"}, {-12.7f, "-12.7"},       {3.0f, "3.0"},
        {99.95f, "99.9"}, {0.75f, "0.8"},  {123456.0f, "123456.0"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(NumberText::FormatOneDecimal(c.value), c.expected) << c.value;
    EXPECT_EQ(NumberText::FormatOneDecimal(3.4e38f).size(), 41u);
}

} // namespace
