#pragma once
/// @file Groups 8 and 9: single items (a number, a channel or a segment)
/// followed through the archive. The series (GRPV ... GRSP) measure how many
/// consecutive draws an item of the reference draw kept appearing (groups)
/// or kept being absent (pauses); the periods (PRDV, PRDC, PRDG) the
/// distance in draw numbers between consecutive appearances of an item.
///
/// Both carry state from one draw to the next over a run of the table: the
/// series their run records in the scratch record, the periods the
/// last-value list. So their DrawValues and NextOccurrence are their own;
/// the combination form (CombValues, the matcher) is the keyed one, each
/// number giving the key of its item.

#include "stats/CustomStatBases.h"
#include "stats/KeyedStat.h"
#include "stats/methods/ChannelMethods.h"
#include "stats/methods/SegmentMethods.h"

namespace lot {

/// The items of one kind: the item of every byte value (0 for none), the
/// range of items and their text. Shared by the series, the periods and
/// the transitions.
class TItemView {
public:
    enum class TKind { Numbers, Channels, Segments };

    /// The numbers 1..45 as their own items.
    static TItemView NumbersView();
    /// The channels of the registry's channel size, 1..C, shown as "%.2d".
    static TItemView ChannelsOf(const TStatList &list);
    /// The segments of the registry's map, smallest..largest in use.
    static TItemView SegmentsOf(const TStatList &list);

    TKind Kind() const { return m_kind; }
    const TPlaceTable &Places() const { return m_places; }
    /// The item of byte n; 0 for none.
    int Of(int n) const { return n >= 0 && n < 256 ? m_places[size_t(n)] : 0; }
    int Min() const { return m_min; }
    /// Max < Min when there are no items.
    int Max() const { return m_max; }
    /// Decimal, or "%.2d" for channels.
    QString Text(int item) const;
    /// Bit x for each item x (below 64) of the numbers of d.
    uint64_t ItemMask(const TDrawRec &d) const;
    /// How many numbers 1..45 have item x.
    int SizeOf(int item) const;
    /// The registry's channel size (channels only; 0 otherwise).
    int ChannelSize() const { return m_channelSize; }

private:
    TKind m_kind = TKind::Numbers;
    TPlaceTable m_places{};
    int m_min = 1;
    int m_max = 0;
    int m_channelSize = 0;
};

// ---- series ------------------------------------------------------------------------------

/// Base of the series: group 8, flag D, the value (item, run length) shown
/// as "%0:s x %1:d"; no values listed in advance.
class TCustomSerialStat : public TCustomStat {
public:
    TCustomSerialStat(const TStatList &list, int param, TItemView items);
    static uint8_t Group() { return 8; }
    static uint8_t Flags() { return sfDynamic; }
    static bool AllowsValueList() { return false; }

    const TItemView &Items() const { return m_items; }
    /// The item of number n; 0 for none.
    int ItemOf(int n) const { return m_items.Of(n); }
    /// Some number of RefDraw has item x.
    bool InRefDraw(int x) const { return x > 0 && x < 64 && (m_refItems >> x) & 1; }
    /// 1: the run goes on while the item is present; 0: while it is absent.
    virtual int SeriesMode() const = 0;
    int ItemMin() const { return m_items.Min(); }
    int ItemMax() const { return m_items.Max(); }

    QString ValueToText(const TStatDraw &v) const override;
    /// The runs of every item, continued or ended by this draw; the items of
    /// the reference draw add their finished runs (and, at the sample's last
    /// draw, their current run) with the run's last draw and depth.
    void DrawValues(int drawIdx, int lastIdx, bool sorted, TStatDrawArray &values, TStatScratch &scratch,
                    TLastValueArray &lastValues) override;
    // A draw's values depend on the runs before it: the plain search that
    // values the later draws again from fromIdx, runs starting afresh there.
    int NextOccurrence(const TStatDraw &v, int fromIdx, bool sorted, int lastIdx) override {
        return TCustomStat::NextOccurrence(v, fromIdx, sorted, lastIdx);
    }

protected:
    /// The items of RefDraw, and the run length the combination (the draw
    /// after refIdx) gives item x: groups the presence run up to refIdx plus
    /// its own draw, pauses the absence run it ends. The runs are kept for
    /// the last refIdx asked.
    void LoadRuns(int refIdx);
    int RunOf(int x) const { return x > 0 && x < 64 ? m_runs[size_t(x)] : 0; }

private:
    const TItemView m_items;
    uint64_t m_refItems = 0;
    int m_runsFor = -2; ///< the refIdx m_runs was made for
    size_t m_runsDrawCount = 0;
    std::array<int, 64> m_runs{};
};

/// A series of items: D gives SeriesMode() as a constant.
template <class D, class Base> class TSerialStat : public TKeyedStat<D, Base> {
public:
    TSerialStat(const TStatList &list, int param) : TKeyedStat<D, Base>(list, param) {}
    static constexpr TKeySearch MatchSearch = ksWord1;

    int SeriesMode() const override { return D::Mode; }
    void RefLoaded(int refIdx, bool) { this->LoadRuns(refIdx); }
    /// The number's item with the run the combination gives it.
    int NumberKeysOf(int n, TStatKey *keys) const {
        const int x = this->ItemOf(n);
        if (x == 0) return 0;
        keys[0] = TStatKey::FromWords(uint16_t(x), uint16_t(this->RunOf(x)));
        return 1;
    }
    // The run state of the table: the series' own DrawValues, not the keys'.
    void DrawValues(int drawIdx, int lastIdx, bool sorted, TStatDrawArray &values, TStatScratch &scratch,
                    TLastValueArray &lastValues) override {
        TCustomSerialStat::DrawValues(drawIdx, lastIdx, sorted, values, scratch, lastValues);
    }
    int NextOccurrence(const TStatDraw &v, int fromIdx, bool sorted, int lastIdx) override {
        return TCustomSerialStat::NextOccurrence(v, fromIdx, sorted, lastIdx);
    }
};

/// The series of numbers.
class TValuesSerialStat : public TCustomSerialStat {
public:
    TValuesSerialStat(const TStatList &list, int param)
        : TCustomSerialStat(list, param, TItemView::NumbersView()) {}
};

/// The series of channels.
class TChannelsSerialStat : public TCustomSerialStat {
public:
    TChannelsSerialStat(const TStatList &list, int param)
        : TCustomSerialStat(list, param, TItemView::ChannelsOf(list)) {}
};

/// The series of segments.
class TSegmentsSerialStat : public TCustomSerialStat {
public:
    TSegmentsSerialStat(const TStatList &list, int param)
        : TCustomSerialStat(list, param, TItemView::SegmentsOf(list)) {}
};

class TstNumGroups final : public TSerialStat<TstNumGroups, TValuesSerialStat> {
    LOT_STAT_CLASS(TstNumGroups)
public:
    using TSerialStat::TSerialStat;
    static constexpr int Mode = 1;
    static QString CodeFormat() { return QStringLiteral("GRPV"); }
    static QString CaptionFormat() { return QStringLiteral("Повторы чисел в нескольких тиражах подряд"); }
};

class TstNumPauses final : public TSerialStat<TstNumPauses, TValuesSerialStat> {
    LOT_STAT_CLASS(TstNumPauses)
public:
    using TSerialStat::TSerialStat;
    static constexpr int Mode = 0;
    static QString CodeFormat() { return QStringLiteral("GRPP"); }
    static QString CaptionFormat() { return QStringLiteral("Интервалы между повторениями чисел"); }
};

class TstChnGroups final : public TSerialStat<TstChnGroups, TChannelsSerialStat> {
    LOT_STAT_CLASS(TstChnGroups)
public:
    using TSerialStat::TSerialStat;
    static constexpr int Mode = 1;
    static QString CodeFormat() { return QStringLiteral("GRCV"); }
    static QString CaptionFormat() { return QStringLiteral("Повторы каналов в нескольких тиражах подряд"); }
};

class TstChnPauses final : public TSerialStat<TstChnPauses, TChannelsSerialStat> {
    LOT_STAT_CLASS(TstChnPauses)
public:
    using TSerialStat::TSerialStat;
    static constexpr int Mode = 0;
    static QString CodeFormat() { return QStringLiteral("GRCP"); }
    static QString CaptionFormat() { return QStringLiteral("Интервалы между повторениями каналов"); }
};

class TstSgmGroups final : public TSerialStat<TstSgmGroups, TSegmentsSerialStat> {
    LOT_STAT_CLASS(TstSgmGroups)
public:
    using TSerialStat::TSerialStat;
    static constexpr int Mode = 1;
    static QString CodeFormat() { return QStringLiteral("GRSV"); }
    static QString CaptionFormat() { return QStringLiteral("Повторы сегментов в нескольких тиражах подряд"); }
};

class TstSgmPauses final : public TSerialStat<TstSgmPauses, TSegmentsSerialStat> {
    LOT_STAT_CLASS(TstSgmPauses)
public:
    using TSerialStat::TSerialStat;
    static constexpr int Mode = 0;
    static QString CodeFormat() { return QStringLiteral("GRSP"); }
    static QString CaptionFormat() { return QStringLiteral("Интервалы между повторениями сегментов"); }
};

// ---- periods -----------------------------------------------------------------------------

/// Base of the periods: group 9, flag P, the value (item, period) shown as
/// "%0:s x %1:d"; no values listed in advance. The periods are measured in
/// draw numbers between the draws of the table; a combination matches a
/// selected period d by the archive entry d places before the draw it
/// stands for (the newest draw in use being one place before it).
class TCustomPeriodsStat : public TCustomStat {
public:
    TCustomPeriodsStat(const TStatList &list, int param, TItemView items);
    static uint8_t Group() { return 9; }
    static uint8_t Flags() { return sfPeriod; }
    static bool AllowsValueList() { return false; }

    const TItemView &Items() const { return m_items; }
    int ItemOf(int n) const { return m_items.Of(n); }

    QString ValueToText(const TStatDraw &v) const override;
    /// For each number in order, its item's distance to the item's previous
    /// appearance (none for the first appearance, nor for a second number of
    /// the same item in one draw).
    void DrawValues(int drawIdx, int lastIdx, bool sorted, TStatDrawArray &values, TStatScratch &scratch,
                    TLastValueArray &lastValues) override;
    /// What valuing the draws again from fromIdx (the last values starting
    /// afresh there) would find, read from where each item appears: the
    /// first appearance from fromIdx whose distance to the one before it,
    /// also from fromIdx on, is the period.
    int NextOccurrence(const TStatDraw &v, int fromIdx, bool sorted, int lastIdx) override;
    bool CombMatches(const TComb &c, const TStatDrawArray &selected, int refIdx, bool sorted,
                     bool excludeMode) override;
    std::unique_ptr<TCombMatcher> MakeMatcher(const TStatDrawArray &selected, int refIdx, bool sorted,
                                              bool excludeMode) override;

protected:
    /// The places back from the draw after refIdx to each item's newest
    /// appearance up to refIdx (0: none). Kept for the last refIdx asked.
    void LoadDistances(int refIdx);
    int DistanceOf(int x) const { return x > 0 && x < 64 ? m_distances[size_t(x)] : 0; }

private:
    /// Whether item x matches the key of period d at reference entry refIdx.
    bool PeriodMatches(int x, int d, int refIdx, bool excludeMode) const;

    const TItemView m_items;
    /// The archive entries each item appears in, ascending; built for
    /// m_appearancesDrawCount draws.
    std::array<std::vector<int>, 64> m_appearances;
    size_t m_appearancesDrawCount = 0;
    bool m_appearancesBuilt = false;
    int m_distancesFor = -2;
    size_t m_distancesDrawCount = 0;
    std::array<int, 64> m_distances{};
};

/// A period member: the keyed combination form, the period's own draws.
template <class D> class TPeriodsStat : public TKeyedStat<D, TCustomPeriodsStat> {
public:
    TPeriodsStat(const TStatList &list, int param)
        : TKeyedStat<D, TCustomPeriodsStat>(list, param, D::View(list)) {}

    void RefLoaded(int refIdx, bool) { this->LoadDistances(refIdx); }
    /// The number's item with the distance the combination's draw has to
    /// the item's newest appearance; nothing for an item not seen yet.
    int NumberKeysOf(int n, TStatKey *keys) const {
        const int x = this->ItemOf(n);
        const int d = this->DistanceOf(x);
        if (x == 0 || d == 0) return 0;
        keys[0] = TStatKey::FromWords(uint16_t(x), uint16_t(d));
        return 1;
    }
    // The last-value list of the table: the periods' own DrawValues.
    void DrawValues(int drawIdx, int lastIdx, bool sorted, TStatDrawArray &values, TStatScratch &scratch,
                    TLastValueArray &lastValues) override {
        TCustomPeriodsStat::DrawValues(drawIdx, lastIdx, sorted, values, scratch, lastValues);
    }
    int NextOccurrence(const TStatDraw &v, int fromIdx, bool sorted, int lastIdx) override {
        return TCustomPeriodsStat::NextOccurrence(v, fromIdx, sorted, lastIdx);
    }
    // A period key is matched by an earlier draw, not by the combination's keys.
    bool CombMatches(const TComb &c, const TStatDrawArray &selected, int refIdx, bool sorted,
                     bool excludeMode) override {
        return TCustomPeriodsStat::CombMatches(c, selected, refIdx, sorted, excludeMode);
    }
    std::unique_ptr<TCombMatcher> MakeMatcher(const TStatDrawArray &selected, int refIdx, bool sorted,
                                              bool excludeMode) override {
        return TCustomPeriodsStat::MakeMatcher(selected, refIdx, sorted, excludeMode);
    }
};

class TstNumPeriods final : public TPeriodsStat<TstNumPeriods> {
    LOT_STAT_CLASS(TstNumPeriods)
public:
    using TPeriodsStat::TPeriodsStat;
    static TItemView View(const TStatList &) { return TItemView::NumbersView(); }
    static QString CodeFormat() { return QStringLiteral("PRDV"); }
    static QString CaptionFormat() { return QStringLiteral("Периоды повторения чисел"); }
};

class TstChnPeriods final : public TPeriodsStat<TstChnPeriods> {
    LOT_STAT_CLASS(TstChnPeriods)
public:
    using TPeriodsStat::TPeriodsStat;
    static TItemView View(const TStatList &list) { return TItemView::ChannelsOf(list); }
    static QString CodeFormat() { return QStringLiteral("PRDC"); }
    static QString CaptionFormat() { return QStringLiteral("Периоды повторения каналов"); }
};

class TstSgmPeriods final : public TPeriodsStat<TstSgmPeriods> {
    LOT_STAT_CLASS(TstSgmPeriods)
public:
    using TPeriodsStat::TPeriodsStat;
    static TItemView View(const TStatList &list) { return TItemView::SegmentsOf(list); }
    static QString CodeFormat() { return QStringLiteral("PRDG"); }
    static QString CaptionFormat() { return QStringLiteral("Периоды повторения сегментов"); }
};

} // namespace lot
