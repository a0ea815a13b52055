// Delphi-style Format: the renderer behind every message of the program.

#include "core/Format.h"
#include "core/Errors.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using namespace lot;

namespace {

// Restores the process-wide number settings after a test changes them.
class FormatSettingsGuard {
public:
    FormatSettingsGuard() : m_saved(FormatSettings()) {}
    ~FormatSettingsGuard() { FormatSettings() = m_saved; }

private:
    TFormatSettings m_saved;
};

} // namespace

TEST(Format, Cases) {
    const struct {
        const char *fmt;
        QVariantList args;
        const char *expected;
    } cases[] = {
        {"Тираж № %d от %s", {4012, QStringLiteral("5 Dec 2026")}, "Тираж № 4012 от 5 Dec 2026"},
        {"100%%", {}, "100%"},
        {"%.2d", {5}, "05"},
        {"%.4d", {12}, "0012"},
        {"%.3d", {-5}, "-005"},
        {"%.1d", {123}, "123"},
        {"%5d|%-5d|", {42, 42}, "   42|42   |"},
        {"%5.3d", {7}, "  007"},
        {"%d", {qint64(-9000000000)}, "-9000000000"},
        {"%d", {std::numeric_limits<qint64>::min()}, "-9223372036854775808"},
        {"%u", {-1}, "4294967295"},
        {"%u", {qint64(-1)}, "18446744073709551615"},
        {"%x", {255}, "FF"},
        {"%.4x", {255}, "00FF"},
        {"%x", {-1}, "FFFFFFFF"},
        {"%s", {QStringLiteral("abc")}, "abc"},
        {"%.2s", {QStringLiteral("abc")}, "ab"},
        {"[%6s][%-6s]", {QStringLiteral("ab"), QStringLiteral("cd")}, "[    ab][cd    ]"},
        {"%1:s %0:s %s", {QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c")}, "b a b"},
        {"%0:s-%0:s", {QStringLiteral("x")}, "x-x"},
        {"%f", {3.14159}, "3.14"},
        {"%.5f", {2.0}, "2.00000"},
        {"%.0f", {2.5}, "3"},
        {"%.2f", {0.125}, "0.13"},
        {"%.2f", {-0.125}, "-0.13"},
        {"%.2f", {2.675}, "2.67"}, // 2.67499999... in binary
        {"%.2f", {-0.001}, "0.00"},
        {"%.1f", {9.96}, "10.0"},
        {"%f", {7}, "7.00"}, // integers are accepted where a float is asked for
        {"%n", {1234567.891}, "1 234 567.89"},
        {"%.0n", {999.5}, "1 000"},
        {"%.3n", {-1234.5}, "-1 234.500"},
        {"%n", {12.0}, "12.00"},
        {"%m", {1234.5}, "1 234.50"},
        {"%e", {1234.5}, "1.23450000000000E+003"},
        {"%.3e", {-0.000123456}, "-1.23E-004"},
        {"%e", {0.0}, "0.00000000000000E+000"},
        {"%g", {0.1}, "0.1"},
        {"%g", {1234.5}, "1234.5"},
        {"%g", {1e20}, "1E20"},
        {"%g", {1.5e-7}, "1.5E-7"},
        {"%g", {0.00001}, "0.00001"},
        {"%g", {0.0}, "0"},
        {"%.3g", {3.14159}, "3.14"},
        {"%g", {-2.0}, "-2"},
        {"%f", {std::numeric_limits<double>::infinity()}, "INF"},
        {"%f", {std::nan("")}, "NAN"},
        {"%*d|%-*d", {4, 7, 3, 8}, "   7|8  "},
        {"%.*f", {1, 2.25}, "2.3"},
        {"%d%%", {50}, "50%"},
        {"%D %S", {1, QStringLiteral("x")}, "1 x"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(Format(QString::fromUtf8(c.fmt), c.args), QString::fromUtf8(c.expected)) << c.fmt;
}

TEST(Format, PositionalThenSequential) {
    EXPECT_EQ(Format("%1:s %s %0:s %s", {QString("a"), QString("b"), QString("c")}), "b c a b");
}

TEST(Format, MismatchRaisesInsteadOfCrashing) {
    const struct {
        const char *fmt;
        QVariantList args;
    } cases[] = {
        {"%d", {}},
        {"%d %d", {1}},
        {"%2:d %d", {0, 1, 2}},
        {"%d", {QStringLiteral("5")}},
        {"%s", {5}},
        {"%f", {QStringLiteral("1.5")}},
        {"%x", {1.5}},
        {"%k", {1}},
        {"abc %", {1}},
        {"%5", {1}},
        {"%-1:d", {1}},
        {"%*d", {QStringLiteral("x"), 1}},
        {"%s", {QVariant()}},
    };
    for (const auto &c : cases)
        EXPECT_THROW(Format(QString::fromUtf8(c.fmt), c.args), EError) << c.fmt;
}

TEST(Format, HugeWidthIsBounded) {
    EXPECT_EQ(Format("%99999999999d", {1}).size(), 65535);
    EXPECT_EQ(Format("%*d", {std::numeric_limits<int>::max(), 1}).size(), 65535);
}

TEST(Format, SettingsDriveFloatSeparators) {
    FormatSettingsGuard guard;
    FormatSettings().DecimalSeparator = ',';
    FormatSettings().ThousandSeparator = QChar(0xA0);
    EXPECT_EQ(Format("%.2f", {1.5}), "1,50");
    EXPECT_EQ(Format("%n", {12345.678}), QString("12") + QChar(0xA0) + "345,68");
    EXPECT_EQ(Format("%g", {0.5}), "0,5");
    EXPECT_EQ(Format("%.2e", {15.0}), "1,5E+001");
    EXPECT_EQ(Format("%d", {12345}), "12345"); // integers are never grouped
}
