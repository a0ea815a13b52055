#include "stats/StatList.h"

#include "archive/DrawsArchive.h"
#include "core/Errors.h"
#include "core/Format.h"
#include "stats/StatClassList.h"

#include <algorithm>
#include <cstdint>
#include <QDir>

namespace lot {

QString TShreddingData::Formula(int param) const {
    switch (param) {
    case 1:
        return Formula1;
    case 2:
        return Formula2;
    case 3:
        return Formula3;
    default:
        return {};
    }
}

int TShreddingData::Digits(int param) const {
    switch (param) {
    case 1:
        return Formula1Digits;
    case 2:
        return Formula2Digits;
    case 3:
        return Formula3Digits;
    default:
        return 0;
    }
}

namespace {
const int ShreddingGroup = 12;
} // namespace

TStatList::TStatList(const TDrawsArchive *archive, const QString &dataDir)
    : m_archive(archive), m_dataDir(dataDir) {}

TStatList::~TStatList() = default;

const TDrawsArray &TStatList::DrawsArray() const {
    static const TDrawsArray empty;
    return m_archive ? m_archive->Draws() : empty;
}

QString TStatList::SettingsFileName() const {
    return QDir(m_dataDir).filePath(QString::fromLatin1(ProgramName) + QStringLiteral(".ini"));
}

QString TStatList::FilterListFileName() const {
    return QDir(m_dataDir).filePath(QString::fromLatin1(ProgramName) + QStringLiteral(".flt"));
}

QString TStatList::CaptionsSection() const {
    return Format(QStringLiteral("STRINGS_%s"), {m_languageAbbrev});
}

// ---- entries -------------------------------------------------------------------

const TStatMethod &TStatList::Items(int i) const {
    if (i < 0 || i >= Count())
        throw EError(Format(QStringLiteral("Метод расчета статистики с индексом %d не найден!"), {i}));
    return *m_methods[size_t(i)];
}

TStatMethod &TStatList::Items(int i) {
    return const_cast<TStatMethod &>(std::as_const(*this).Items(i));
}

QString TStatList::EntryCode(int i) const {
    const TStatMethod &m = Items(i);
    return m.StatClass->Code(m.Param);
}

QString TStatList::EntryCaption(int i) const {
    const TStatMethod &m = Items(i);
    QString caption = m.CustomCaption.isEmpty() ? m.StatClass->Caption(m.Param) : m.CustomCaption;
    if (m.StatClass->Group() == ShreddingGroup && caption.contains(QLatin1Char('%'))) {
        // A user's caption may hold a stray "%": show it unformatted rather than fail.
        try {
            caption = Format(caption, {m.Formula});
        } catch (const EError &) {
        }
    }
    return caption;
}

QString TStatList::DisplayCaption(int i, bool withFlags) const {
    QString s = EntryCaption(i);
    const TStatClass &cls = *Items(i).StatClass;
    if (m_showGroupName) s = Format(QStringLiteral("{ %1:s } %0:s"), {s, GroupShortName(cls.Group())});
    if (withFlags && m_showMethodFlags) {
        const QString letters = FlagLetters(cls.FullFlags());
        if (!letters.isEmpty()) s = Format(QStringLiteral("%0:s [ %1:s ]"), {s, letters});
    }
    return s;
}

QString TStatList::EntryHelpUrl(int i) const {
    const TStatMethod &m = Items(i);
    return m.StatClass->HelpUrl(m.Param, m_helpFile);
}

int TStatList::FindEntry(const QString &code) const {
    for (int i = 0; i < Count(); ++i)
        if (EntryCode(i).compare(code, Qt::CaseInsensitive) == 0) return i;
    return -1;
}

int TStatList::IndexOf(const TStatMethod *entry) const {
    for (int i = 0; i < Count(); ++i)
        if (m_methods[size_t(i)].get() == entry) return i;
    return -1;
}

std::unique_ptr<TCustomStat> TStatList::CreateStat(int i) const {
    const TStatMethod &m = Items(i);
    return m.StatClass->Create(*this, m.Param);
}

std::unique_ptr<TCustomStat> TStatList::StatForCombo(int entry, const QString &selectorName) const {
    if (entry < 0)
        throw EError(Format(QStringLiteral("Не выбран метод расчета статистики (cb: %s)!"), {selectorName}));
    return CreateStat(entry);
}

void TStatList::RegisterAll() {
    RegisterClasses(StatClassList());
}

void TStatList::RegisterClasses(const std::vector<const TStatClass *> &classes) {
    m_ordered = false;
    m_showGroupName = true;
    m_showMethodFlags = true;
    m_allSelected = true;
    m_methods.clear();
    const auto add = [this](const TStatClass *cls, int param) {
        auto m = std::make_unique<TStatMethod>();
        m->StatClass = cls;
        m->Param = param;
        if (cls->Group() == ShreddingGroup) m->Formula = m_shredding.Formula(param);
        m_methods.push_back(std::move(m));
    };
    for (const TStatClass *cls : classes) {
        if (!cls || !cls->Enabled()) continue;
        if (!cls->HasParamRange()) {
            add(cls, 0);
            continue;
        }
        const TParamRange range = cls->GetParamRange(*this);
        for (int p = range.Min; p <= range.Max; ++p)
            add(cls, p);
    }
}

TStatSelectors TStatList::SelectorItems() const {
    TStatSelectors s;
    s.Sorted = m_ordered;
    for (int i = 0; i < Count(); ++i) {
        if (!IsEnabled(i) || !IsShownInStatistics(i) || !IsListed(i)) continue;
        const TSelectorItem item{i, DisplayCaption(i, true)};
        s.Statistics << item;
        if (HasGraph(i)) s.Graphs << item;
    }
    if (m_ordered) {
        // Case-insensitive and the same on every machine: a locale's
        // collation could put the Latin captions after the Cyrillic ones.
        const auto byCaption = [](const TSelectorItem &a, const TSelectorItem &b) {
            return a.Caption.compare(b.Caption, Qt::CaseInsensitive) < 0;
        };
        std::stable_sort(s.Statistics.begin(), s.Statistics.end(), byCaption);
        std::stable_sort(s.Graphs.begin(), s.Graphs.end(), byCaption);
    }
    return s;
}

int TStatList::SelectorIndexAfterRefill(int previousIndex, bool keepSelection, int count) {
    const int index = keepSelection ? previousIndex : 0;
    return index >= 0 && index < count ? index : -1;
}

void TStatList::RegisterAgain() {
    RegisterAll();
    SelectAll();
}

// ---- favourites -------------------------------------------------------------------

void TStatList::SelectAll() {
    m_allSelected = true;
    for (auto &m : m_methods)
        m->Selected = true;
}

void TStatList::NormalizeSelection() {
    const bool first = m_methods.empty() || m_methods.front()->Selected;
    const bool same = std::all_of(m_methods.begin(), m_methods.end(),
                                  [first](const auto &m) { return m->Selected == first; });
    if (!same) {
        m_allSelected = false;
        return;
    }
    m_allSelected = true;
    if (!first) SelectAll();
}

QString TStatList::FavoritesText() const {
    if (m_allSelected) return {};
    QStringList codes;
    for (int i = 0; i < Count(); ++i)
        if (m_methods[size_t(i)]->Selected) codes << EntryCode(i);
    return codes.join(QLatin1Char(','));
}

void TStatList::ApplyFavorites(const QString &text) {
    if (text.trimmed().isEmpty()) {
        SelectAll();
        return;
    }
    m_allSelected = false;
    // Words are compared as written: " KDS2" does not name KDS2.
    const QStringList words = text.split(QLatin1Char(','));
    for (int i = 0; i < Count(); ++i)
        m_methods[size_t(i)]->Selected = words.contains(EntryCode(i), Qt::CaseInsensitive);
}

// ---- weight coefficients and profit ---------------------------------------------------

void TStatList::ApplyWeightCoefs(bool overrideCoefs, const TWeightCoefs &coefs) {
    m_config.WeightCoefs = overrideCoefs ? coefs : m_savedWeightCoefs;
}

void TStatList::SetCombsGenerateParameters(const QString &text) {
    m_combsGenerateParameters = text.left(255);
}

TMoney TStatList::StakeProfit(int n, int overlaps) const {
    // A stake never holds more numbers than the game has; the bound also
    // keeps the ticket count and the product far from overflowing.
    const int numbers = std::clamp(n, 0, NumberCount);
    const int64_t tickets = numbers <= CombSize ? 1 : Binomial(numbers, CombSize);
    // Saturating: a cost typed into the settings file by hand must not wrap.
    int64_t cost = 0;
    if (__builtin_mul_overflow(m_config.Cost.Units, tickets, &cost))
        cost = m_config.Cost.Units < 0 ? INT64_MIN : INT64_MAX;
    int64_t result = cost == INT64_MIN ? INT64_MAX : -cost;
    if (overlaps >= 0) {
        for (const TProfitItem &p : m_config.Profits) {
            if (p.Overlap == overlaps) {
                if (__builtin_add_overflow(result, p.Prize.Units, &result))
                    result = p.Prize.Units < 0 ? INT64_MIN : INT64_MAX;
                break;
            }
        }
    }
    return TMoney::FromUnits(result);
}

} // namespace lot
