#include "stats/StatValues.h"

#include "core/Format.h"

#include <algorithm>
#include <cstdlib>

namespace lot {

void AddSimpleValue(TStatSimpleArray &items, int32_t key, int32_t count) {
    for (TStatSimpleItem &item : items) {
        if (item.Key == key) {
            if (count > 0) item.Count += count;
            return;
        }
    }
    items.push_back({key, count});
}

void SortSimpleValues(TStatSimpleArray &items) {
    std::stable_sort(items.begin(), items.end(),
                     [](const TStatSimpleItem &a, const TStatSimpleItem &b) { return a.Key < b.Key; });
}

int RecordLastValue(TLastValueArray &values, const TStatKey &key, int32_t drawNumber) {
    for (TLastValue &v : values) {
        if (v.Key == key) {
            const int distance = drawNumber - v.DrawNumber;
            v.DrawNumber = drawNumber;
            return distance;
        }
    }
    values.push_back({drawNumber, key});
    return -1;
}

void AddValue(TStatDrawArray &values, const TStatDraw &value, bool trackPeriods) {
    AddValueAt(values, FindValue(values, value.Key), value, trackPeriods);
}

void AddValueAt(TStatDrawArray &values, int i, const TStatDraw &value, bool trackPeriods) {
    if (i < 0) {
        values.push_back(value);
        return;
    }
    TStatDraw &e = values[size_t(i)];
    e.Count += value.Count;
    if (e.Depth == 0 || (value.Depth > 0 && e.Depth >= value.Depth)) {
        e.LastDraw = value.LastDraw;
        e.Depth = value.Depth;
    }
    if (trackPeriods && value.LastDraw > 0 && e.PrevDraw > 0) {
        const int64_t distance = std::llabs(int64_t(e.PrevDraw) - int64_t(value.LastDraw));
        const uint16_t d = uint16_t(std::min<int64_t>(distance, 0xFFFF));
        if (d < e.PeriodMin || e.PeriodMin == 0) e.PeriodMin = d;
        if (e.PeriodMax < d || e.PeriodMax == 0) e.PeriodMax = d;
    }
    e.PrevDraw = value.LastDraw;
}

int FindValue(const TStatDrawArray &values, const TStatKey &key) {
    // Equal bytes are equal words: one 64-bit compare per value of a list
    // that the statistics table searches for every value of every draw.
    const uint64_t k = key.Bits();
    const size_t n = values.size();
    size_t i = 0;
    // Four at a time with one branch; the first hit is then found among them.
    for (; i + 4 <= n; i += 4)
        if ((values[i].Key.Bits() == k) | (values[i + 1].Key.Bits() == k) | (values[i + 2].Key.Bits() == k) |
            (values[i + 3].Key.Bits() == k))
            break;
    for (; i < n; ++i)
        if (values[i].Key.Bits() == k) return int(i);
    return -1;
}

int TValueIndex::Find(const TStatDrawArray &values, const TStatKey &key) {
    // Another list, or one that shrank, is not what the index knows.
    if (&values != m_values || values.size() < m_indexed) return FindValue(values, key);
    if (values.size() < ScanLimit) return FindValue(values, key);
    for (; m_indexed < values.size(); ++m_indexed)
        m_at.emplace(values[m_indexed].Key.Bits(), int(m_indexed)); // keeps the first position
    const auto it = m_at.constFind(key.Bits());
    if (it == m_at.cend()) return -1;
    // A key changed in place would be found where it no longer is.
    if (values[size_t(*it)].Key.Bits() != key.Bits()) return FindValue(values, key);
    return *it;
}

bool FindKey(const TStatDrawArray &selected, const TStatKey &key) {
    return FindValue(selected, key) >= 0;
}

bool FindKeyBy(const TStatDrawArray &selected, TKeySearch search, const TStatKey &key) {
    const uint64_t wanted = key.Bits() & search;
    for (const TStatDraw &v : selected)
        if ((v.Key.Bits() & search) == wanted) return true;
    return false;
}

bool FindKeyW1W3(const TStatDrawArray &selected, uint16_t w1, uint16_t w3) {
    for (const TStatDraw &v : selected)
        if (v.Key.W(1) == w1 && v.Key.W(3) == w3) return true;
    return false;
}

bool FindWord(const TStatDrawArray &selected, int position, uint16_t w) {
    if (position < 1 || position > 4) return false;
    for (const TStatDraw &v : selected)
        if (v.Key.W(position) == w) return true;
    return false;
}

bool FindByte(const TStatDrawArray &selected, int position, uint8_t b) {
    if (position < 1 || position > 8) return false;
    for (const TStatDraw &v : selected)
        if (v.Key.Byte(position) == b) return true;
    return false;
}

bool FindInt(const TStatDrawArray &selected, int position, int32_t d) {
    if (position < 1 || position > 2) return false;
    for (const TStatDraw &v : selected)
        if (v.Key.D(position) == d) return true;
    return false;
}

namespace {
struct TGroupText {
    const char *ShortName;
    const char *Caption;
};
const TGroupText GroupTexts[StatGroupCount] = {
    {"num", "Числа тиража"},
    {"sum", "Сумма чисел тиража"},
    {"dif", "Разности между числами тиража"},
    {"grp", "Каналы (группы чисел)"},
    {"mtx", "Матрица тиража"},
    {"sgm", "Сегменты матрицы тиража"},
    {"seq", "Последовательности чисел в одном тираже"},
    {"rep", "Повторяющиеся числа в нескольких тиражах"},
    {"ser", "Серии (цепочки) значений"},
    {"per", "Периоды повторения значений"},
    {"mov", "Переходы (изменения) значений между тиражами"},
    {"ogn", "Характеристическое число Огнева"},
    {"shr", "Методы шинковки"},
};
bool IsGroup(int group) {
    return group >= 0 && group < StatGroupCount;
}
} // namespace

QString GroupShortName(int group) {
    return IsGroup(group) ? QString::fromUtf8(GroupTexts[group].ShortName) : QString();
}

QString GroupCaption(int group) {
    return IsGroup(group) ? QString::fromUtf8(GroupTexts[group].Caption) : QString();
}

QString GroupHeading(int group) {
    if (!IsGroup(group)) return QStringLiteral("#ERROR#");
    return Format(QStringLiteral("{ %1:s } %0:s"), {GroupCaption(group), GroupShortName(group)});
}

QString FlagLetters(uint8_t flags) {
    static const struct {
        uint8_t Bit;
        char Letter;
    } letters[] = {{sfOrdered, 'S'}, {sfPrefetch, 'N'}, {sfDynamic, 'D'}, {sfPeriod, 'P'}, {sfGraph, 'G'}};
    QString s;
    for (const auto &l : letters)
        if (flags & l.Bit) s += QLatin1Char(l.Letter);
    return s;
}

} // namespace lot
