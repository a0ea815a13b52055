#pragma once
// Builders shared by the statistics tests: a small archive, value texts and
// a host that records the error boxes.

#include "archive/DrawsArchive.h"
#include "core/Host.h"
#include "stats/StatList.h"

#include <array>
#include <initializer_list>
#include <memory>
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

/// Strings of a list of UTF-8 literals.
inline QStringList Texts(std::initializer_list<const char *> items) {
    QStringList list;
    for (const char *s : items)
        list << QString::fromUtf8(s);
    return list;
}

/// A registry over its own archive and game settings, and the value texts
/// of its methods: the family tests' bench.
class TMethodProbe {
public:
    TDrawsArchive Archive;
    TStatList List{&Archive};

    explicit TMethodProbe(int matrixCols = 5, int channelSize = 5) { SetSettings(matrixCols, channelSize); }
    /// The game settings, and the methods registered anew for them.
    void SetSettings(int matrixCols, int channelSize) {
        TConfigData config = List.Config();
        config.MatrixCols = matrixCols;
        config.ChannelSize = channelSize;
        List.SetConfig(config);
        List.RegisterAll();
    }
    std::unique_ptr<TCustomStat> Stat(const QString &code) const {
        const int entry = List.FindEntry(code);
        return entry < 0 ? nullptr : List.CreateStat(entry);
    }
    /// The texts of archive entry index, the sample ending at entry last.
    QStringList DrawTexts(const QString &code, int index, int last, bool sorted = false) const {
        auto stat = Stat(code);
        TStatDrawArray values;
        TStatScratch scratch;
        TLastValueArray lastValues;
        stat->DrawValues(index, last, sorted, values, scratch, lastValues);
        return ValueTexts(*stat, values);
    }
    /// The texts of a combination standing for the draw after entry ref.
    QStringList CombTexts(const QString &code, const TComb &c, int ref = -1) const {
        auto stat = Stat(code);
        stat->LoadDraws(-1, ref, false);
        TStatDrawArray values;
        stat->CombValues(c, values);
        return ValueTexts(*stat, values);
    }
    QStringList ListedTexts(const QString &code) const {
        auto stat = Stat(code);
        TStatDrawArray values;
        stat->EnumAllValues(Archive.Count() - 1, values);
        return ValueTexts(*stat, values);
    }
    /// The codes of the entries, joined by ",".
    QString Codes() const {
        QStringList codes;
        for (int i = 0; i < List.Count(); ++i)
            codes << List.EntryCode(i);
        return codes.join(QLatin1Char(','));
    }
};

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
