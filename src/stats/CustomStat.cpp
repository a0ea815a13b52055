#include "stats/CustomStat.h"

#include "core/Errors.h"
#include "core/Format.h"
#include "stats/KeyCounter.h"
#include "stats/StatList.h"

#include <QFileInfo>

namespace lot {

// ---- TStatClass --------------------------------------------------------------

QString FormatWithParam(const QString &format, int param) {
    if (!format.contains(QLatin1Char('%'))) return format;
    try {
        return Format(format, {param});
    } catch (const EError &) {
        return format;
    }
}

uint8_t TStatClass::FullFlags() const {
    uint8_t flags = Flags();
    if (HasGraph()) flags |= sfGraph;
    return flags;
}

QString TStatClass::Code(int param) const {
    return FormatWithParam(CodeFormat(), param);
}

QString TStatClass::Caption(int param) const {
    return FormatWithParam(CaptionFormat(), param);
}

QString TStatClass::HelpTopic(int param) const {
    return FormatWithParam(HelpTopicFormat(), param);
}

QString TStatClass::HelpUrl(int param, const QString &helpFile) const {
    if (helpFile.isEmpty() || !QFileInfo::exists(helpFile)) return {};
    return QStringLiteral("ms-its:") + helpFile +
           Format(QStringLiteral("::/Filters_%.4d_%s.htm"), {1049, HelpTopic(param)});
}

// ---- TCustomStat ---------------------------------------------------------------

namespace {
/// Wraps the method's own CombMatches for methods without a faster matcher.
class TPlainMatcher final : public TCombMatcher {
public:
    TPlainMatcher(TCustomStat &stat, const TStatDrawArray &selected, int refIdx, bool sorted,
                  bool excludeMode)
        : m_stat(stat), m_selected(selected), m_refIdx(refIdx), m_sorted(sorted), m_excludeMode(excludeMode) {
    }
    bool Matches(const TComb &c) const override {
        return m_stat.CombMatches(c, m_selected, m_refIdx, m_sorted, m_excludeMode);
    }

private:
    TCustomStat &m_stat;
    TStatDrawArray m_selected;
    int m_refIdx;
    bool m_sorted;
    bool m_excludeMode;
};
} // namespace

TCustomStat::TCustomStat(const TStatList &list, int param)
    : m_param(param), m_list(&list), m_draws(&list.DrawsArray()) {}

TCustomStat::~TCustomStat() = default;

QString TCustomStat::InstanceCaption() const {
    return Class().Caption(m_param);
}

int TCustomStat::TextToValue(const QString &s) const {
    bool ok = false;
    const int v = s.trimmed().toInt(&ok);
    return ok ? v : 0;
}

int TCustomStat::ParseValue(const QString &s) const {
    return Class().AllowsValueList() ? TextToValue(s) : 0;
}

void TCustomStat::EnumAllValues(int lastIdx, TStatDrawArray &values) {
    Q_UNUSED(lastIdx);
    Q_UNUSED(values);
    ClearWork();
}

TDrawRec TCustomStat::ReadDraw(int idx, bool sorted) const {
    if (idx < 0 || size_t(idx) >= m_draws->size()) return TDrawRec{};
    const TDrawRec &d = (*m_draws)[size_t(idx)];
    return sorted ? SortDrawNumbers(d) : d;
}

void TCustomStat::LoadDraws(int drawIdx, int refIdx, bool sorted) {
    m_draw = ReadDraw(drawIdx, sorted);
    if (Class().Flags() & sfDynamic) m_refDraw = ReadDraw(refIdx, sorted);
}

int TCustomStat::CombKeys(const TComb &c, TStatKey *keys) const {
    // A method whose values come from the numbers one by one has its
    // combination keys from them; any other has no fast path by default.
    int n = 0;
    for (int i = 0; i < CombSize; ++i) {
        const int k = NumberKeys(c[i], keys + n);
        if (k < 0) return -1;
        n += k;
    }
    return n;
}

int TCustomStat::NumberKeys(int, TStatKey *) const {
    return -1;
}

void TCustomStat::CombValues(const TComb &c, TStatDrawArray &values) {
    Q_UNUSED(c);
    Q_UNUSED(values);
    ClearWork();
    m_work.Count = 1;
}

void TCustomStat::DrawValues(int drawIdx, int lastIdx, bool sorted, TStatDrawArray &values,
                             TStatScratch &scratch, TLastValueArray &lastValues) {
    Q_UNUSED(values);
    Q_UNUSED(scratch);
    Q_UNUSED(lastValues);
    LoadDraws(drawIdx, lastIdx, sorted);
    ClearWork();
    m_work.LastDraw = m_draw.DrawNumber;
    m_work.PrevDraw = m_draw.DrawNumber;
    m_work.Depth = lastIdx - drawIdx + 1;
    m_work.Count = 1;
}

int TCustomStat::NextOccurrence(const TStatDraw &v, int fromIdx, bool sorted, int lastIdx) {
    const int count = int(m_draws->size());
    if (fromIdx >= count) return -1;
    TStatScratch scratch;
    TLastValueArray lastValues;
    TStatDrawArray values;
    for (int i = qMax(0, fromIdx); i < count; ++i) {
        values.clear();
        DrawValues(i, lastIdx, sorted, values, scratch, lastValues);
        if (FindKey(values, v.Key)) return m_draw.DrawNumber;
    }
    return -1;
}

void TCustomStat::CountCombKeys(const TComb *combs, int count, TKeyCounter &counter) {
    TStatDrawArray values;
    values.reserve(64);
    for (int i = 0; i < count; ++i) {
        values.clear();
        CombValues(combs[i], values);
        for (const TStatDraw &d : values)
            counter.Add(d.Key, d.Count);
    }
}

std::unique_ptr<TCombMatcher> TCustomStat::MakeMatcher(const TStatDrawArray &selected, int refIdx,
                                                       bool sorted, bool excludeMode) {
    return std::make_unique<TPlainMatcher>(*this, selected, refIdx, sorted, excludeMode);
}

} // namespace lot
