#include "wizard/ConsoleText.h"

#include <gtest/gtest.h>

namespace {

TEST(ConsoleText, TurnsEachLineFeedCarriageReturnPairAround) {
    const struct {
        const char* text;
        const char* expected;
    } cases[] = {
        {"", ""},
        {"A\n\rB\n\r", "A\r\nB\r\n"},
        {"\r\n\r\n", "\r\r\n\n"}, // also across CR LF pairs
        {"\n\r\n\r", "\r\n\r\n"},
        {"\n\n\r\r", "\n\r\n\r"}, // scanning goes on after a replaced pair
        {"\n", "\n"},
        {"\r", "\r"},
        {"abc\n", "abc\n"},
        {"\n\r\r", "\r\n\r"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ConsoleText::ToConsoleLineEnds(c.text), c.expected);
}

} // namespace
