#pragma once
/// @file The variants of a script line: ExpandVariants turns the filter
/// items of a line into every concrete TFilterRec, depth first with filter 1
/// outermost, into a TVariantList that keeps creation order.

#include "filters/Filter.h"

#include <cstddef>
#include <functional>
#include <memory>
#include <QList>
#include <QString>

namespace lot {

class TStatList;

/// The variants of one line: a singly linked list in creation order with a
/// tail reference, so appending stays linear; consumed from the head.
class TVariantList {
public:
    TVariantList() = default;
    TVariantList(const TVariantList &) = delete;
    TVariantList &operator=(const TVariantList &) = delete;

    /// Appends a variant holding parts. Raises std::bad_alloc when the
    /// memory for it cannot be had or the list would pass its budget.
    void Append(const TFilterRec &parts);
    /// Unlinks the first variant; nullptr when the list is empty.
    std::unique_ptr<TFilterVar> TakeHead();
    bool IsEmpty() const { return !m_head; }
    /// Variants appended since the last Clear.
    int Count() const { return m_count; }
    /// Variants still linked.
    int Remaining() const { return m_remaining; }
    void Clear();

    /// The memory the list may take. Linux promises memory it may never
    /// give (the process would be killed instead of failing an allocation),
    /// so a list past this budget fails like an allocation that was refused.
    void SetBudget(std::size_t bytes) { m_budget = bytes; }
    /// Half of the physical memory, at least 64 MiB.
    static std::size_t DefaultBudget();
    /// The memory one variant takes, for the budget.
    static constexpr std::size_t VariantBytes = sizeof(TFilterVar) + 64;

private:
    std::unique_ptr<TFilterVar> m_head;
    TFilterVar *m_tail = nullptr;
    int m_count = 0;
    int m_remaining = 0;
    std::size_t m_budget = DefaultBudget();
};

/// The hooks of an expansion.
struct TExpandHooks {
    /// Checked before each length and each value; true ends the walk.
    std::function<bool()> IsStopped;
    /// After every 1000th variant, with the count.
    std::function<void(int count)> Progress;
    /// A variant could not be had (std::bad_alloc): the caller stops the
    /// run and shows why; the walk ends at its next IsStopped check.
    std::function<void(const QString &systemMessage)> OutOfMemory;
};

/// "Некорректное описание фильтра: %s!" with the filter text.
QString BadFilterText(const QString &filterText);

/// Builds every variant of the items (filter 1 varies slowest; within one
/// filter the length varies slower than the value) and appends them to
/// out. Raises EError BadFilterText(FilterToText(item)) for an item whose
/// lengths, or values when its mode has any, do not read as an integer
/// list. The number of variants is the product over the items of lengths ×
/// values for the single-value modes and of lengths for the others.
void ExpandVariants(const TStatList &list, const QList<TFilterItem> &items, TVariantList &out,
                    const TExpandHooks &hooks);

/// The part a filter item gives for one length and (single-value modes) one value.
TFilterPart MakeFilterPart(const TFilterItem &item, int length, const QString &levelValue,
                           const QString &levelText);

} // namespace lot
