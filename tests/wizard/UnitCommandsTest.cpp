#include "serial/UnitCommands.h"

#include <gtest/gtest.h>
#include <string>

namespace {

TEST(UnitCommands, IdentifyAndQueryAreSingleBytesWithoutLineEnd) {
    EXPECT_EQ(std::string(UnitCommands::kIdentify), std::string(1, '\x51'));
    EXPECT_EQ(std::string(UnitCommands::kQuery), std::string(1, '\x58'));
}

TEST(UnitCommands, StoreCommandsAreFiveBytes) {
    EXPECT_EQ(UnitCommands::StoreDate("10", "01"), "C1001");
    EXPECT_EQ(UnitCommands::StoreDate("05", "12"), "C0512");
    EXPECT_EQ(UnitCommands::StoreOffset("+015"), "O+015");
    // The letter O, not the digit zero.
    EXPECT_EQ(UnitCommands::StoreOffset("-003")[0], '\x4F');
}

TEST(UnitCommands, BannerMustStandAtTheStartExactly) {
    EXPECT_EQ(UnitCommands::kBannerLength, 18u);
    const struct {
        const char* reply;
        bool found;
    } cases[] = {
        {"Quorvane Telemetry", true},
        {"Quorvane Telemetry\r\n", true},
        {"Quorvane Telemetry and more text", true},
        {"Quorvane Telemetr", false},
        {"", false},
        {"\r\nQuorvane Telemetry\r\n", false},
        {"QQuorvane Telemetry", false},
        {"quorvane telemetry\r\n", false},
        {"QUORVANE TELEMETRY\r\n", false},
        {"Quorvane telemetry\r\n", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(UnitCommands::StartsWithBanner(c.reply), c.found) << c.reply;
}

} // namespace
