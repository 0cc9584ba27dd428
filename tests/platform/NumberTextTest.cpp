// The one reader of whole numbers typed as text: signs, ranges, the 64-bit edge and everything
// around the digits that makes a text no number.
#include "platform/NumberText.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <string>

namespace quillon {
namespace {

TEST(NumberText, ReadsOnlyWholeNumbersWithinTheRange) {
    struct TCase {
        std::string Text;
        std::int64_t Low, High;
        std::optional<std::int64_t> Read;
    };
    const TCase cases[] = {
        {"0", 0, 10, 0},
        {"10", 0, 10, 10},
        {"11", 0, 10, std::nullopt},
        {"-1", 0, 10, std::nullopt},
        {"-1", -1, 10, -1},
        {"+7", 0, 10, 7},
        {"+-7", -10, 10, std::nullopt},
        {"--7", -10, 10, std::nullopt},
        {"", 0, 10, std::nullopt},
        {"+", 0, 10, std::nullopt},
        {"-", -10, 10, std::nullopt},
        {" 5", 0, 10, std::nullopt},
        {"5 ", 0, 10, std::nullopt},
        {"5x", 0, 10, std::nullopt},
        {"0x5", 0, 10, std::nullopt},
        {"1e3", 0, 10000, std::nullopt},
        {"007", 0, 10, 7},
        {"9223372036854775807", 0, INT64_MAX, INT64_MAX},
        {"9223372036854775808", 0, INT64_MAX, std::nullopt},
        {"-9223372036854775808", INT64_MIN, 0, INT64_MIN},
    };
    for (const TCase& c : cases)
        EXPECT_EQ(ReadNumber(c.Text, c.Low, c.High), c.Read) << "'" << c.Text << "'";
}

TEST(NumberText, NarrowReadersKeepToTheirType) {
    EXPECT_EQ(ReadNumber32("2147483647"), INT32_MAX);
    EXPECT_EQ(ReadNumber32("2147483648"), std::nullopt);
    EXPECT_EQ(ReadNumber32("-2147483648"), INT32_MIN);
    EXPECT_EQ(ReadNumber32("5", 1, 4), std::nullopt);

    std::uint8_t byte = 9;
    EXPECT_FALSE(ReadNumberTo("256", byte));
    EXPECT_FALSE(ReadNumberTo("-1", byte));
    EXPECT_EQ(byte, 9);  // untouched by a refusal
    EXPECT_TRUE(ReadNumberTo("255", byte));
    EXPECT_EQ(byte, 255);
    int value = 3;
    EXPECT_FALSE(ReadNumberTo("12", value, 0, 10));
    EXPECT_EQ(value, 3);
    EXPECT_TRUE(ReadNumberTo("-12", value));
    EXPECT_EQ(value, -12);
}

}  // namespace
}  // namespace quillon
