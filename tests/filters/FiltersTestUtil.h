#pragma once
// Shared pieces of the filter tests: a recording host, a small archive and
// combination list, and the workspace parts a filter step works on.

#include "archive/DrawsArchive.h"
#include "combs/CombsController.h"
#include "core/CoreHelpers.h"
#include "core/Host.h"
#include "filters/FilterEngine.h"
#include "filters/FiltersController.h"
#include "stats/StatList.h"
#include "stats/StatTable.h"

#include <array>
#include <ostream>
#include <QString>
#include <QStringList>
#include <vector>

inline void PrintTo(const QString &s, std::ostream *os) {
    *os << '"' << s.toStdString() << '"';
}

namespace lot {
inline void PrintTo(const TComb &c, std::ostream *os) {
    *os << CombToText(c).toStdString();
}
} // namespace lot

namespace lot::test {

class TRecordingHost : public IHost {
public:
    QStringList Statuses;
    QStringList Errors;
    int ProcessCalls = 0;

    void ShowStatus(const QString &text) override { Statuses << text; }
    void ProcessMessages() override { ++ProcessCalls; }
    void ShowError(const QString &text) override { Errors << text; }
    void ShowInformation(const QString &) override {}
    void ShowAttention(const QString &) override {}
    void ShowWarning(const QString &) override {}
    bool Confirm(const QString &, const QString & = {}, bool = false) override { return true; }
};

inline TComb C(int a, int b, int c, int d, int e, int f) {
    TComb x;
    const int n[6] = {a, b, c, d, e, f};
    for (int i = 0; i < 6; ++i)
        x.N[i] = uint8_t(n[i]);
    return x;
}

inline TDrawRec Draw(int number, std::array<int, 6> mains) {
    TDrawRec d;
    d.DrawNumber = number;
    for (int i = 0; i < 6; ++i)
        d.Numbers[i] = uint8_t(mains[size_t(i)]);
    d.Extra[0] = 44;
    d.Extra[1] = 45;
    return d;
}

template <class Span> std::vector<TComb> ToVector(const Span &s) {
    return std::vector<TComb>(s.begin(), s.end());
}

inline std::vector<TComb> ListOf(const TCombsController &combs) {
    return ToVector(combs.Combs());
}

/// The parts of the workspace a filter step works on, over a small archive:
/// number 1 is drawn four times, 2 three times, 3 twice, 4..18 once and
/// 19..45 never, so the NUMS table sorted by count starts 1, 2, 3.
class TFilterBench {
public:
    TFilterBench() {
        archive.Append(Draw(1, {1, 2, 3, 4, 5, 6}));
        archive.Append(Draw(3, {1, 2, 3, 7, 8, 9}));
        archive.Append(Draw(5, {1, 2, 10, 11, 12, 13}));
        archive.Append(Draw(7, {1, 14, 15, 16, 17, 18}));
        stats.RegisterAll();
        table.FillSelector(false);
        table.SetSampleLength(1000);
        engine.SetWriteLog([this](const QString &text) { Log << text; });
    }

    /// Replaces the list (no history, no undo copy).
    void SetList(const std::vector<TComb> &list) {
        QStringList lines;
        for (const TComb &c : list)
            lines << CombToText(c);
        combs.PasteText(lines.join(QStringLiteral("\r\n")));
    }

    int Entry(const QString &code) const { return stats.FindEntry(code); }

    /// A step of NUMS over the whole sample, sorted by count, top-down.
    TFilterPart Part(uint8_t levelMode, const QString &levelValue, uint8_t stopMode, int stopValue) const {
        TFilterPart p;
        p.Enabled = true;
        p.Method = Entry(QStringLiteral("NUMS"));
        p.SampleLength = 1000;
        p.SortColumn = scCount;
        p.LevelMode = levelMode;
        p.LevelValue = levelValue;
        p.LevelText = levelValue;
        p.StopMode = stopMode;
        p.StopValue = stopValue;
        return p;
    }

    /// Log lines that start with prefix.
    QStringList LogLines(const QString &prefix) const {
        QStringList lines;
        for (const QString &l : Log)
            if (l.startsWith(prefix)) lines << l;
        return lines;
    }

    /// History rows with this operation text.
    int HistoryRows(const QString &operation) const {
        int n = 0;
        for (const THistoryRow &r : combs.History())
            if (r.Operation == operation) ++n;
        return n;
    }

    TRecordingHost host;
    TDrawsArchive archive;
    TStatList stats{&archive};
    TCombsController combs{host};
    TStatTable table{host, stats, archive};
    TFiltersController filters{host, stats, archive, combs, table};
    TFilterEngine &engine = filters.Engine();
    QStringList Log;
};

} // namespace lot::test
