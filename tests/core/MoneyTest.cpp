// Money amounts: parsing, display and settings-file forms.

#include "core/Money.h"

#include <gtest/gtest.h>

#include <limits>

using namespace lot;

TEST(Money, Parse) {
    const struct {
        const char *text;
        bool ok;
        int64_t units;
    } cases[] = {
        {"12.50", true, 125000},
        {"12,50", true, 125000},
        {"-3", true, -30000},
        {"+3", true, 30000},
        {" 0.0001 ", true, 1},
        {"0.00005", true, 1}, // rounded half away from zero
        {"-0.00005", true, -1},
        {"0.000049999", true, 0},
        {"1.99995", true, 20000},
        {".5", true, 5000},
        {"5.", true, 50000},
        {"0", true, 0},
        {"922337203685477", true, 9223372036854770000},
        {"922337203685477.5807", true, std::numeric_limits<int64_t>::max()},
        {"922337203685477.5808", false, 0},
        {"99999999999999999999", false, 0},
        {"", false, 0},
        {"-", false, 0},
        {".", false, 0},
        {"1.2.3", false, 0},
        {"1 000", false, 0},
        {"12a", false, 0},
        {"1e3", false, 0},
        {"--1", false, 0},
    };
    for (const auto &c : cases) {
        TMoney m{777};
        EXPECT_EQ(TMoney::TryParse(c.text, m), c.ok) << c.text;
        EXPECT_EQ(m.Units, c.ok ? c.units : 777) << c.text; // untouched on failure
    }
}

TEST(Money, Texts) {
    const struct {
        int64_t units;
        const char *text;
        const char *iniText;
    } cases[] = {
        {125000, "12.50", "12.5"},
        {-30000, "-3.00", "-3"},
        {0, "0.00", "0"},
        {1, "0.00", "0.0001"},
        {50, "0.01", "0.005"}, // half away from zero
        {-50, "-0.01", "-0.005"},
        {49, "0.00", "0.0049"},
        {-10, "0.00", "-0.001"}, // no "-0.00"
        {12345678, "1234.57", "1234.5678"},
        {std::numeric_limits<int64_t>::min(), "-922337203685477.58", "-922337203685477.5808"},
    };
    for (const auto &c : cases) {
        const TMoney m = TMoney::FromUnits(c.units);
        EXPECT_EQ(m.ToText(), c.text) << c.units;
        EXPECT_EQ(m.ToIniText(), c.iniText) << c.units;
        TMoney back;
        ASSERT_TRUE(TMoney::TryParse(m.ToIniText(), back)) << c.units;
        EXPECT_EQ(back, m);
    }
}

TEST(Money, FromDoubleAndArithmetic) {
    EXPECT_EQ(TMoney::FromDouble(12.5).Units, 125000);
    EXPECT_EQ(TMoney::FromDouble(-0.00005).Units, -1);
    EXPECT_EQ(TMoney::FromDouble(0.1).Units, 1000);
    EXPECT_EQ(TMoney::FromDouble(1e300).Units, std::numeric_limits<int64_t>::max());
    EXPECT_EQ(TMoney::FromDouble(std::numeric_limits<double>::quiet_NaN()).Units, 0);
    const TMoney a = TMoney::FromUnits(15000), b = TMoney::FromUnits(5000);
    EXPECT_EQ((a + b).Units, 20000);
    EXPECT_EQ((a - b).Units, 10000);
    EXPECT_EQ((a * 3).Units, 45000);
    EXPECT_LT(b, a);
    EXPECT_DOUBLE_EQ(a.ToDouble(), 1.5);
}
