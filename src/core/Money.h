#pragma once
/// @file Money: a signed 64-bit amount in units of 1/10000, shown with two decimals.

#include <cstdint>
#include <QString>

namespace lot {

struct TMoney {
    int64_t Units = 0; ///< 1/10000 of the currency unit
    static constexpr int64_t Scale = 10000;

    static TMoney FromUnits(int64_t u) { return TMoney{u}; }
    static TMoney FromDouble(double v); ///< rounded to the nearest unit
    /// Parses "12.50", "12,50", "-3"; returns false on bad text.
    static bool TryParse(const QString &text, TMoney &out);
    double ToDouble() const { return double(Units) / Scale; }
    QString ToText() const;    ///< two decimals, '.' separator, e.g. "-12.50"
    QString ToIniText() const; ///< as written to settings files
    friend TMoney operator+(TMoney a, TMoney b) { return {a.Units + b.Units}; }
    friend TMoney operator-(TMoney a, TMoney b) { return {a.Units - b.Units}; }
    friend TMoney operator*(TMoney a, int64_t k) { return {a.Units * k}; }
    friend auto operator<=>(TMoney, TMoney) = default;
};

} // namespace lot
