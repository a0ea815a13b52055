#include "scripts/ScriptVariants.h"

#include "core/CoreHelpers.h"
#include "core/Errors.h"
#include "core/Format.h"
#include "filters/FilterText.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstring>
#include <new>
#include <unistd.h>

namespace lot {

// ---- the list -------------------------------------------------------------------------------

std::size_t TVariantList::DefaultBudget() {
    const long pages = sysconf(_SC_PHYS_PAGES);
    const long pageSize = sysconf(_SC_PAGESIZE);
    const std::size_t physical =
        pages > 0 && pageSize > 0 ? std::size_t(pages) * std::size_t(pageSize) : std::size_t(1) << 31;
    return std::max<std::size_t>(physical / 2, std::size_t(64) << 20);
}

void TVariantList::Append(const TFilterRec &parts) {
    if ((std::size_t(m_remaining) + 1) * VariantBytes > m_budget || m_count == INT_MAX)
        throw std::bad_alloc();
    auto var = std::make_unique<TFilterVar>();
    var->Parts = parts;
    TFilterVar *raw = var.get();
    if (m_tail)
        m_tail->Next = std::move(var);
    else
        m_head = std::move(var);
    m_tail = raw;
    ++m_count;
    ++m_remaining;
}

std::unique_ptr<TFilterVar> TVariantList::TakeHead() {
    if (!m_head) return nullptr;
    std::unique_ptr<TFilterVar> head = std::move(m_head);
    m_head = std::move(head->Next);
    if (!m_head) m_tail = nullptr;
    --m_remaining;
    return head;
}

void TVariantList::Clear() {
    // TFilterVar frees its chain without recursion.
    m_head.reset();
    m_tail = nullptr;
    m_count = 0;
    m_remaining = 0;
}

// ---- the expansion ----------------------------------------------------------------------------

QString BadFilterText(const QString &filterText) {
    return Format(QStringLiteral("Некорректное описание фильтра: %s!"), {filterText});
}

TFilterPart MakeFilterPart(const TFilterItem &item, int length, const QString &levelValue,
                           const QString &levelText) {
    TFilterPart p;
    p.Enabled = true;
    p.Method = item.Method;
    p.SampleLength = length;
    p.SortColumn = item.SortColumn;
    p.BottomUp = item.BottomUp;
    p.MultiSelect = item.MultiSelect;
    p.KeepSelected = item.KeepSelected;
    p.LevelMode = item.LevelMode;
    p.LevelValue = levelValue;
    p.LevelText = levelText;
    p.OverrideCoefs = item.OverrideCoefs;
    p.Coefs = item.Coefs;
    p.StopMode = item.StopMode;
    p.StopValue = item.StopValue;
    return p;
}

namespace {

/// One item read for the walk: its lengths and the (value, text) pairs of
/// its parts for each length.
struct TItemChoices {
    const TFilterItem *Item = nullptr;
    QList<int> Lengths;
    /// One entry per variant of a length: the part's LevelValue and LevelText.
    QList<std::pair<QString, QString>> Values;
};

class TWalk {
public:
    TWalk(const QList<TItemChoices> &choices, TVariantList &out, const TExpandHooks &hooks)
        : m_choices(choices), m_out(out), m_hooks(hooks) {}

    void Run() { Walk(0); }

private:
    bool Stopped() const { return m_failed || (m_hooks.IsStopped && m_hooks.IsStopped()); }

    void Walk(int k) {
        const TItemChoices &c = m_choices[k];
        for (int length : c.Lengths) {
            if (Stopped()) return;
            for (const auto &[value, text] : c.Values) {
                if (Stopped()) return;
                m_parts[size_t(k)] = MakeFilterPart(*c.Item, length, value, text);
                if (k + 1 < int(m_choices.size()))
                    Walk(k + 1);
                else
                    AddVariant();
            }
        }
    }

    void AddVariant() {
        try {
            m_out.Append(m_parts);
        } catch (const std::bad_alloc &) {
            if (m_hooks.OutOfMemory) m_hooks.OutOfMemory(QString::fromLocal8Bit(std::strerror(ENOMEM)));
            m_failed = true;
            return;
        }
        if (m_out.Count() % 1000 == 0 && m_hooks.Progress) m_hooks.Progress(m_out.Count());
    }

    const QList<TItemChoices> &m_choices;
    TVariantList &m_out;
    const TExpandHooks &m_hooks;
    TFilterRec m_parts{};
    bool m_failed = false;
};

} // namespace

void ExpandVariants(const TStatList &list, const QList<TFilterItem> &items, TVariantList &out,
                    const TExpandHooks &hooks) {
    if (items.isEmpty()) return;
    QList<TItemChoices> choices;
    for (const TFilterItem &item : items) {
        TItemChoices c;
        c.Item = &item;
        c.Lengths = ParseIntList(item.SampleLengths);
        if (c.Lengths.isEmpty()) throw EError(BadFilterText(FilterToText(list, item)));
        if (item.LevelMode == lmNone) {
            c.Values.append({item.LevelValues, item.LevelValues});
        } else {
            const QList<int> values = ParseIntList(item.LevelValues);
            if (values.isEmpty()) throw EError(BadFilterText(FilterToText(list, item)));
            if (IsListLevelMode(item.LevelMode)) {
                c.Values.append({IntListToText(values, QStringLiteral(",")), item.LevelValues});
            } else {
                for (int x : values)
                    c.Values.append({QString::number(x), QString::number(x)});
            }
        }
        choices.append(std::move(c));
    }
    TWalk(choices, out, hooks).Run();
}

} // namespace lot
