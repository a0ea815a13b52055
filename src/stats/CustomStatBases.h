#pragma once
/// @file The abstract bases that fix a value format: graph values, lottery
/// numbers, plain integers, k:6-k ratios and six-letter position masks.

#include "stats/CustomStat.h"

namespace lot {

/// The value is one integer (w1) and the class has a graph value.
class TCustomGraphStat : public TCustomStat {
public:
    using TCustomStat::TCustomStat;
    static bool HasGraph() { return true; }

    QString ValueToText(const TStatDraw &v) const override;
    /// The integer value of six numbers; drawIdx is the archive entry they
    /// stand for (methods that look at earlier draws read from there).
    virtual int GraphValue(const TComb &numbers, int drawIdx) = 0;
    /// Loads archive entry drawIdx (sorted when asked) and returns the
    /// GraphValue of its numbers.
    virtual int DrawGraphValue(int drawIdx, int lastIdx, bool sorted);
};

/// The value is one lottery number (w1), shown in decimal.
class TCustomValuesStat : public TCustomStat {
public:
    using TCustomStat::TCustomStat;
    QString ValueToText(const TStatDraw &v) const override;
};

/// The value is one integer (w1), shown in decimal.
class TCustomNumbersStat : public TCustomStat {
public:
    using TCustomStat::TCustomStat;
    QString ValueToText(const TStatDraw &v) const override;
};

/// The value is a count k of 0..6 (w1), shown as "k:6-k".
class TCustomRatioStat : public TCustomGraphStat {
public:
    using TCustomGraphStat::TCustomGraphStat;
    QString ValueToText(const TStatDraw &v) const override;
    /// The integer before the first ":".
    int TextToValue(const QString &s) const override;
};

/// The value is a 6-bit mask over the positions (d1), position 1 being bit 5,
/// shown as six letters and the mask number, e.g. "ЧнЧннЧ (022)".
class TCustomMaskStat : public TCustomStat {
public:
    using TCustomStat::TCustomStat;
    QString ValueToText(const TStatDraw &v) const override;
    /// The first six characters, each a 1 bit when it equals OneLetter.
    int TextToValue(const QString &s) const override;
    /// Lists all 64 masks.
    void EnumAllValues(int lastIdx, TStatDrawArray &values) override;
    /// Letter of a 0 bit.
    virtual QString ZeroLetter() const = 0;
    /// Letter of a 1 bit.
    virtual QString OneLetter() const = 0;

    /// The six letters of a mask followed by "(%.3d)".
    static QString MaskText(int32_t mask, const QString &zero, const QString &one);
};

} // namespace lot
