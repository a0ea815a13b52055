#pragma once
// Builders shared by the statistics tests: a small archive, value texts and
// a host that records the error boxes.

#include "archive/DrawsArchive.h"
#include "core/Host.h"
#include "stats/StatList.h"

#include <array>
#include <ostream>
#include <QString>
#include <QStringList>

inline void PrintTo(const QString &s, std::ostream *os) {
    *os << '"' << s.toStdString() << '"';
}

namespace lot::test {

inline TDrawRec MakeStatDraw(int number, std::array<int, 6> mains, std::array<int, 2> extras = {0, 0}) {
    TDrawRec d;
    d.DrawNumber = number;
    for (int i = 0; i < 6; ++i)
        d.Numbers[i] = uint8_t(mains[size_t(i)]);
    for (int i = 0; i < 2; ++i)
        d.Extra[i] = uint8_t(extras[size_t(i)]);
    return d;
}

inline TComb MakeComb(std::array<int, 6> n) {
    TComb c;
    for (int i = 0; i < 6; ++i)
        c[i] = uint8_t(n[size_t(i)]);
    return c;
}

/// Texts of a value list, in list order.
inline QStringList ValueTexts(const TCustomStat &stat, const TStatDrawArray &values) {
    QStringList texts;
    for (const TStatDraw &v : values)
        texts << stat.ValueToText(v);
    return texts;
}

/// A value list holding the keys a method reads from these texts.
inline TStatDrawArray SelectedFromTexts(const TCustomStat &stat, const QStringList &texts) {
    TStatDrawArray selected;
    for (const QString &t : texts) {
        TStatDraw v;
        v.Key = TStatKey::FromInts(stat.TextToValue(t));
        selected.push_back(v);
    }
    return selected;
}

class TRecordingHost : public IHost {
public:
    QStringList Errors;
    void ShowStatus(const QString &) override {}
    void ShowError(const QString &text) override { Errors << text; }
    void ShowInformation(const QString &) override {}
    void ShowAttention(const QString &) override {}
    void ShowWarning(const QString &) override {}
    bool Confirm(const QString &, const QString &, bool) override { return false; }
};

/// Three draws, oldest first:
///   #101  2  9 13 20 31 44  extras 7 29
///   #102 40 11  3 22 23  6  extras 15 0
///   #103 10  1  9  4  8  6  extras 5 12
inline void FillSampleArchive(TDrawsArchive &archive) {
    archive.Append(MakeStatDraw(101, {2, 9, 13, 20, 31, 44}, {7, 29}));
    archive.Append(MakeStatDraw(102, {40, 11, 3, 22, 23, 6}, {15, 0}));
    archive.Append(MakeStatDraw(103, {10, 1, 9, 4, 8, 6}, {5, 12}));
}

} // namespace lot::test
