#include "stats/methods/SerialMethods.h"

#include "core/Format.h"
#include "stats/StatList.h"

#include <algorithm>

namespace lot {

namespace {
/// Bit x for every item x of the range (below 64).
uint64_t RangeMask(const TItemView &items) {
    uint64_t mask = 0;
    for (int x = std::max(items.Min(), 1); x <= items.Max() && x < 64; ++x)
        mask |= uint64_t(1) << x;
    return mask;
}

uint16_t ClampWord(int v) {
    return uint16_t(std::clamp(v, 0, 0xFFFF));
}

QString ItemValueText(const TItemView &items, const TStatDraw &v) {
    return Format(QStringLiteral("%0:s x %1:d"), {items.Text(v.Key.W(1)), int(v.Key.W(2))});
}
} // namespace

// ---- TItemView ----------------------------------------------------------------------------

TItemView TItemView::NumbersView() {
    TItemView v;
    v.m_kind = TKind::Numbers;
    for (int n = 1; n <= NumberCount; ++n)
        v.m_places[size_t(n)] = uint8_t(n);
    v.m_min = 1;
    v.m_max = NumberCount;
    return v;
}

TItemView TItemView::ChannelsOf(const TStatList &list) {
    const TChannelLayout channels = TChannelLayout::Of(list);
    TItemView v;
    v.m_kind = TKind::Channels;
    v.m_places = channels.Places();
    v.m_min = 1;
    v.m_max = channels.Count();
    v.m_channelSize = channels.Size();
    return v;
}

TItemView TItemView::SegmentsOf(const TStatList &list) {
    const TSegmentLayout segments = TSegmentLayout::Of(list);
    TItemView v;
    v.m_kind = TKind::Segments;
    v.m_places = segments.Places();
    v.m_min = segments.Min();
    v.m_max = segments.Max();
    return v;
}

QString TItemView::Text(int item) const {
    if (m_kind == TKind::Channels) return Format(QStringLiteral("%.2d"), {item});
    return QString::number(item);
}

uint64_t TItemView::ItemMask(const TDrawRec &d) const {
    uint64_t mask = 0;
    for (int i = 0; i < CombSize; ++i) {
        const int x = Of(d.Numbers[i]);
        if (x > 0 && x < 64) mask |= uint64_t(1) << x;
    }
    return mask;
}

int TItemView::SizeOf(int item) const {
    int n = 0;
    for (int b = 1; b <= NumberCount; ++b)
        n += m_places[size_t(b)] == item;
    return item == 0 ? 0 : n;
}

// ---- series -------------------------------------------------------------------------------

TCustomSerialStat::TCustomSerialStat(const TStatList &list, int param, TItemView items)
    : TCustomStat(list, param), m_items(std::move(items)) {}

QString TCustomSerialStat::ValueToText(const TStatDraw &v) const {
    return ItemValueText(m_items, v);
}

void TCustomSerialStat::LoadRuns(int refIdx) {
    m_refItems = m_items.ItemMask(RefDraw());
    const size_t count = Draws().size();
    if (refIdx == m_runsFor && count == m_runsDrawCount) return;
    m_runsFor = refIdx;
    m_runsDrawCount = count;
    m_runs.fill(0);
    const bool groups = SeriesMode() == 1;
    uint64_t open = RangeMask(m_items);
    // Entries past the archive read as empty draws: no item is present.
    int k = refIdx;
    if (k >= int(count)) {
        if (groups) {
            open = 0;
        } else {
            for (int x = 1; x < 64; ++x)
                if ((open >> x) & 1) m_runs[size_t(x)] = std::min(k - int(count) + 1, 0xFFFF);
        }
        k = int(count) - 1;
    }
    for (; k >= 0 && open != 0; --k) {
        const uint64_t present = m_items.ItemMask(ReadDraw(k, false));
        const uint64_t goOn = open & (groups ? present : ~present);
        for (int x = 1; x < 64; ++x)
            if ((goOn >> x) & 1) ++m_runs[size_t(x)];
        open = goOn;
    }
    if (groups)
        for (int x = 1; x < 64; ++x)
            if ((RangeMask(m_items) >> x) & 1) ++m_runs[size_t(x)];
}

void TCustomSerialStat::DrawValues(int drawIdx, int lastIdx, bool sorted, TStatDrawArray &values,
                                   TStatScratch &scratch, TLastValueArray &lastValues) {
    TCustomStat::DrawValues(drawIdx, lastIdx, sorted, values, scratch, lastValues);
    const uint64_t present = m_items.ItemMask(Draw());
    const bool groups = SeriesMode() == 1;
    const auto add = [&](int x, const TStatScratch::TRun &run) {
        m_work.Key = TStatKey::FromWords(uint16_t(x), ClampWord(run.RunLength));
        m_work.LastDraw = run.RunLastDraw;
        m_work.PrevDraw = run.RunLastDraw;
        m_work.Depth = run.RunDepth;
        m_work.Count = 1;
        AddDrawValue(values, m_work, true);
    };
    for (int x = ItemMin(); x <= ItemMax(); ++x) {
        const size_t slot = size_t(x - ItemMin());
        if (x < 1 || x >= 64 || slot >= scratch.Runs.size()) break;
        TStatScratch::TRun &run = scratch.Runs[slot];
        const bool has = (present >> x) & 1;
        if (has == groups) {
            ++run.RunLength;
            run.RunLastDraw = Draw().DrawNumber;
            run.RunDepth = lastIdx - drawIdx + 1;
            if (drawIdx == lastIdx && InRefDraw(x)) add(x, run);
        } else {
            if (run.RunLength > 0 && InRefDraw(x)) add(x, run);
            run = {};
        }
    }
}

// ---- periods ------------------------------------------------------------------------------

TCustomPeriodsStat::TCustomPeriodsStat(const TStatList &list, int param, TItemView items)
    : TCustomStat(list, param), m_items(std::move(items)) {}

QString TCustomPeriodsStat::ValueToText(const TStatDraw &v) const {
    return ItemValueText(m_items, v);
}

void TCustomPeriodsStat::DrawValues(int drawIdx, int lastIdx, bool sorted, TStatDrawArray &values,
                                    TStatScratch &scratch, TLastValueArray &lastValues) {
    TCustomStat::DrawValues(drawIdx, lastIdx, sorted, values, scratch, lastValues);
    for (int j = 0; j < CombSize; ++j) {
        const int x = ItemOf(Draw().Numbers[j]);
        if (x == 0) continue;
        const int d = RecordLastValue(lastValues, TStatKey::FromWords(uint16_t(x)), Draw().DrawNumber);
        if (d <= 0) continue;
        m_work.Key = TStatKey::FromWords(uint16_t(x), ClampWord(d));
        AddDrawValue(values, m_work, true);
    }
}

int TCustomPeriodsStat::NextOccurrence(const TStatDraw &v, int fromIdx, bool, int) {
    const int count = int(Draws().size());
    if (fromIdx >= count) return -1;
    if (!m_appearancesBuilt || m_appearancesDrawCount != size_t(count)) {
        for (std::vector<int> &a : m_appearances)
            a.clear();
        for (int i = 0; i < count; ++i) {
            const uint64_t items = m_items.ItemMask(ReadDraw(i, false));
            for (int x = 1; x < 64; ++x)
                if ((items >> x) & 1) m_appearances[size_t(x)].push_back(i);
        }
        m_appearancesBuilt = true;
        m_appearancesDrawCount = size_t(count);
    }
    const int x = v.Key.W(1);
    if (x < 1 || x >= 64 || v.Key.W(2) == 0 || v.Key.W(3) != 0 || v.Key.W(4) != 0) return -1;
    const std::vector<int> &at = m_appearances[size_t(x)];
    auto it = std::lower_bound(at.begin(), at.end(), std::max(fromIdx, 0));
    if (it == at.end()) return -1;
    for (auto next = it + 1; next != at.end(); it = next++) {
        const int d = (*m_draws)[size_t(*next)].DrawNumber - (*m_draws)[size_t(*it)].DrawNumber;
        if (d > 0 && ClampWord(d) == v.Key.W(2)) return (*m_draws)[size_t(*next)].DrawNumber;
    }
    return -1;
}

void TCustomPeriodsStat::LoadDistances(int refIdx) {
    const size_t count = Draws().size();
    if (refIdx == m_distancesFor && count == m_distancesDrawCount) return;
    m_distancesFor = refIdx;
    m_distancesDrawCount = count;
    m_distances.fill(0);
    uint64_t open = RangeMask(m_items);
    for (int k = std::min(refIdx, int(count) - 1); k >= 0 && open != 0; --k) {
        const uint64_t found = open & m_items.ItemMask(ReadDraw(k, false));
        for (int x = 1; x < 64; ++x)
            if ((found >> x) & 1) m_distances[size_t(x)] = std::min(refIdx + 1 - k, 0xFFFF);
        open &= ~found;
    }
}

bool TCustomPeriodsStat::PeriodMatches(int x, int d, int refIdx, bool excludeMode) const {
    const bool in = (m_items.ItemMask(ReadDraw(refIdx + 1 - d, false)) >> x) & 1;
    return excludeMode ? !in : in;
}

bool TCustomPeriodsStat::CombMatches(const TComb &c, const TStatDrawArray &selected, int refIdx, bool,
                                     bool excludeMode) {
    for (int j = 0; j < CombSize; ++j) {
        const int x = ItemOf(c[j]);
        if (x == 0) continue;
        for (const TStatDraw &s : selected)
            if (s.Key.W(1) == x && PeriodMatches(x, s.Key.W(2), refIdx, excludeMode)) return true;
    }
    return false;
}

std::unique_ptr<TCombMatcher> TCustomPeriodsStat::MakeMatcher(const TStatDrawArray &selected, int refIdx,
                                                              bool, bool excludeMode) {
    // Whether a number matches depends only on its item: a table of the
    // byte values, read as three pairs per combination.
    std::array<uint8_t, 64> itemHits{};
    for (const TStatDraw &s : selected) {
        const int x = s.Key.W(1);
        if (x > 0 && x < 64 && !itemHits[size_t(x)])
            itemHits[size_t(x)] = PeriodMatches(x, s.Key.W(2), refIdx, excludeMode);
    }
    std::array<uint8_t, 256> hits{};
    for (int n = 0; n < 256; ++n) {
        const int x = ItemOf(n);
        hits[size_t(n)] = x > 0 && x < 64 ? itemHits[size_t(x)] : 0;
    }
    return std::make_unique<TAnyNumberMatcher>(hits);
}

} // namespace lot
