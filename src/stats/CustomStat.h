#pragma once
/// @file The statistic method framework: the class descriptor TStatClass
/// (class-level operations, callable without an instance), the method base
/// TCustomStat (instance operations) and the combination matcher.
///
/// A concrete method is a class derived from TCustomStat (usually through one
/// of the abstract bases of CustomStatBases.h) that
///  - declares LOT_STAT_CLASS(ItsName) and inherits the constructor,
///  - defines the static class operations it fixes (CodeFormat, CaptionFormat,
///    Group, Flags, and any default it overrides: HelpTopicFormat, Enabled,
///    ShowInStatistics, HasGraph, AllowsValueList, HasParamRange,
///    GetParamRange; CaptionOf(param) when its caption format takes more
///    than the parameter),
///  - overrides the instance operations.
/// The descriptor reads the statics through the class, so a default set in
/// an abstract base applies to all its descendants. Inside instance code
/// always ask Class(): an unqualified call of a static would bind to the
/// class the code is written in, not to the instance's class.

#include "core/CoreHelpers.h"
#include "core/Lottery.h"
#include "stats/StatValues.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <QString>

namespace lot {

class TStatList;
class TCustomStat;
class TKeyCounter;

/// Inclusive parameter range of a class registered once per parameter.
struct TParamRange {
    int Min = 0;
    int Max = 0;
};

/// Class-level operations of one method class. One static instance exists per
/// class; the registry holds pointers to them.
class TStatClass {
public:
    explicit TStatClass(const char *className) : m_className(className) {}
    virtual ~TStatClass() = default;
    TStatClass(const TStatClass &) = delete;
    TStatClass &operator=(const TStatClass &) = delete;

    /// The C++ class name, e.g. "TstValues".
    const char *ClassName() const { return m_className; }

    /// Method code or its format, e.g. "NUMS", "POS%d".
    virtual QString CodeFormat() const = 0;
    /// Caption or its format.
    virtual QString CaptionFormat() const = 0;
    /// Help topic or its format; the code format unless the class names one.
    virtual QString HelpTopicFormat() const = 0;
    /// Group 0..12.
    virtual uint8_t Group() const = 0;
    /// Flag byte without sfGraph.
    virtual uint8_t Flags() const = 0;
    /// A class returning false is never registered.
    virtual bool Enabled() const = 0;
    /// False keeps the method out of the statistics selector.
    virtual bool ShowInStatistics() const = 0;
    virtual bool HasGraph() const = 0;
    /// True when a filter may select this method's values by a typed list.
    virtual bool AllowsValueList() const = 0;
    /// True when the class is registered once per parameter.
    virtual bool HasParamRange() const = 0;
    /// The parameter range; may depend on the game settings of the registry.
    virtual TParamRange GetParamRange(const TStatList &list) const = 0;
    /// A new instance for one computation; the caller owns it.
    virtual std::unique_ptr<TCustomStat> Create(const TStatList &list, int param) const = 0;

    /// Flags, plus sfGraph when the class has a graph.
    uint8_t FullFlags() const;
    /// Flag sfPrefetch is set.
    bool CanPrefetch() const { return (Flags() & sfPrefetch) != 0; }
    /// The code format formatted with param (a format without a placeholder as is).
    QString Code(int param) const;
    /// The caption format formatted with param; a class whose format takes
    /// more numbers than the parameter formats it itself.
    virtual QString Caption(int param) const;
    /// The help topic formatted with param.
    QString HelpTopic(int param) const;
    /// "ms-its:<helpFile>::/Filters_1049_<topic>.htm"; empty when helpFile is
    /// empty or does not exist.
    QString HelpUrl(int param, const QString &helpFile) const;

private:
    const char *m_className;
};

/// Formats a code or caption format with one integer; a format without a
/// placeholder, or one that does not accept the integer, comes back as is.
QString FormatWithParam(const QString &format, int param);

/// Answers CombMatches for one filter pass, prepared once so that the pass
/// does not repeat per combination what depends only on the selected keys.
/// Its answer for every combination equals the method's own CombMatches.
class TCombMatcher {
public:
    virtual ~TCombMatcher() = default;
    virtual bool Matches(const TComb &c) const = 0;
    /// True when Matches may run on several threads at once.
    virtual bool IsThreadSafe() const { return false; }
    /// Sets bit i % 64 of bits[i / 64] to Matches(source[i]) for every i in
    /// 0..count; bits past count in the last word are zero. The filter pass
    /// calls this once per block, so a matcher derived from
    /// TInlineCombMatcher costs no call per combination.
    virtual void MatchBits(const TComb *source, size_t count, uint64_t *bits) const {
        MatchBitsWith([this](const TComb &c) { return Matches(c) ? 1u : 0u; }, source, count, bits);
    }

protected:
    /// The block loop over a test called directly; test answers 0 or 1.
    template <class Test>
    static void MatchBitsWith(const Test &test, const TComb *source, size_t count, uint64_t *bits) {
        for (size_t base = 0; base < count; base += 64) {
            const size_t n = count - base < 64 ? count - base : 64;
            uint64_t word = 0;
            // Branch-free, and with constant shifts only: each answer enters
            // at the top and moves down, the first one ending as bit 0.
            for (size_t i = 0; i < n; ++i)
                word = word >> 1 | uint64_t(test(source[base + i])) << 63;
            bits[base / 64] = n == 64 ? word : word >> (64 - n);
        }
    }
};

/// Base of a final matcher class M whose Matches the block loop of the
/// filter pass should inline. M may also give Bit(c): Matches(c) as 0 or 1
/// without a conversion from bool, when it can compute it more cheaply.
template <class M> class TInlineCombMatcher : public TCombMatcher {
public:
    void MatchBits(const TComb *source, size_t count, uint64_t *bits) const override {
        const M &self = static_cast<const M &>(*this);
        if constexpr (requires(const TComb &c) { self.Bit(c); })
            MatchBitsWith([&self](const TComb &c) { return self.Bit(c); }, source, count, bits);
        else
            MatchBitsWith([&self](const TComb &c) { return self.M::Matches(c) ? 1u : 0u; }, source, count,
                          bits);
    }
};

/// Base of every statistic method. Instances are short-lived: created by the
/// registry for one computation or one filter pass and owned by the caller.
/// They read the archive the registry points at and own nothing.
class TCustomStat {
public:
    TCustomStat(const TStatList &list, int param);
    virtual ~TCustomStat();
    TCustomStat(const TCustomStat &) = delete;
    TCustomStat &operator=(const TCustomStat &) = delete;

    /// The class descriptor of this instance.
    virtual const TStatClass &Class() const = 0;

    // ---- defaults of the class operations (see the file comment) ----
    static QString HelpTopicFormat() { return {}; }
    static bool Enabled() { return true; }
    static bool ShowInStatistics() { return true; }
    static bool HasGraph() { return false; }
    static bool AllowsValueList() { return true; }
    static bool HasParamRange() { return false; }
    static TParamRange GetParamRange(const TStatList &) { return {0, 0}; }

    // ---- fields ----
    int Param() const { return m_param; }
    const TStatList &List() const { return *m_list; }
    const TDrawsArray &Draws() const { return *m_draws; }
    /// The draw being evaluated; all zero when none.
    const TDrawRec &Draw() const { return m_draw; }
    /// The reference draw of a dynamic method.
    const TDrawRec &RefDraw() const { return m_refDraw; }
    /// The value record the value operations fill before adding it.
    const TStatDraw &Work() const { return m_work; }

    /// Caption of this instance's class and parameter.
    QString InstanceCaption() const;

    // ---- instance operations ----
    /// Display text of a value.
    virtual QString ValueToText(const TStatDraw &v) const = 0;
    /// Integer of the text; 0 when it is not a number.
    virtual int TextToValue(const QString &s) const;
    /// TextToValue when the class allows value lists, else 0.
    int ParseValue(const QString &s) const;
    /// Adds every value that can occur with count 0 (base: clears Work only).
    virtual void EnumAllValues(int lastIdx, TStatDrawArray &values);
    /// Loads archive entry drawIdx into Draw (all zero outside the archive),
    /// sorted when asked; for a dynamic method also refIdx into RefDraw.
    virtual void LoadDraws(int drawIdx, int refIdx, bool sorted);
    /// Adds the value(s) of a combination with count 1, without periods
    /// (base: clears Work and sets its Count to 1).
    virtual void CombValues(const TComb &c, TStatDrawArray &values);
    /// Most keys NumberKeys writes for one number.
    static constexpr int MaxNumberKeys = 4;
    /// Most keys CombKeys writes for one combination: one per column, row or
    /// channel at most.
    static constexpr int MaxCombKeys = NumberCount;
    /// The fast path of counting values over many combinations: writes the
    /// keys of c's values to keys (at most MaxCombKeys) and returns how many,
    /// a value occurring k times given k times, so that counting them gives
    /// what counting the records of CombValues gives. The default gives the
    /// keys of the six numbers' NumberKeys, or -1 when the method has no
    /// NumberKeys: then it has no fast path and CombValues is to be used.
    virtual int CombKeys(const TComb &c, TStatKey *keys) const;
    /// For a method whose values of a combination are those of its six
    /// numbers taken one by one (a number giving the same values wherever it
    /// stands): writes the keys number n gives (at most MaxNumberKeys) and
    /// returns how many, so that counting the keys of a combination's six
    /// numbers gives what counting CombValues gives. Counting values over
    /// many combinations then only needs how often each number occurs. -1
    /// (the default): the method is not of this kind.
    virtual int NumberKeys(int n, TStatKey *keys) const;
    /// Adds the value(s) of archive entry drawIdx with period tracking (base:
    /// loads the draws and prepares Work: LastDraw and PrevDraw = the draw
    /// number, Depth = lastIdx - drawIdx + 1, Count = 1).
    virtual void DrawValues(int drawIdx, int lastIdx, bool sorted, TStatDrawArray &values,
                            TStatScratch &scratch, TLastValueArray &lastValues);
    /// Draw number of the first archive entry from fromIdx on (to the newest
    /// draw of the whole archive) whose values contain v's key; -1 when none.
    virtual int NextOccurrence(const TStatDraw &v, int fromIdx, bool sorted, int lastIdx);
    /// True when a value of c is among the selected keys. refIdx is the
    /// newest draw in use; LoadDraws(-1, refIdx, sorted) runs once before a
    /// scan. excludeMode tells that the filter removes matching combinations.
    virtual bool CombMatches(const TComb &c, const TStatDrawArray &selected, int refIdx, bool sorted,
                             bool excludeMode) = 0;
    /// A matcher for one pass with the same preparation as CombMatches. The
    /// default wraps CombMatches (the instance must outlive it); keyed
    /// methods (KeyedStat.h) derive a table matcher from their keys.
    virtual std::unique_ptr<TCombMatcher> MakeMatcher(const TStatDrawArray &selected, int refIdx, bool sorted,
                                                      bool excludeMode);
    /// Counts the values of a run of combinations into counter, a value
    /// occurring k times in a combination counted k times: the work of a
    /// prefetch build. The default counts the records of CombValues; keyed
    /// methods count their keys. Each worker of a build has its own instance.
    virtual void CountCombKeys(const TComb *combs, int count, TKeyCounter &counter);

    /// The index DrawValues finds the values of the list it fills in, set by
    /// the caller for one run over the draws (the statistics table); nullptr:
    /// a scan.
    void SetValueIndex(TValueIndex *index) { m_valueIndex = index; }

protected:
    /// AddValue of a draw's value, through the caller's index when it set one.
    void AddDrawValue(TStatDrawArray &values, const TStatDraw &value, bool trackPeriods) {
        if (m_valueIndex)
            AddValueAt(values, m_valueIndex->Find(values, value.Key), value, trackPeriods);
        else
            AddValue(values, value, trackPeriods);
    }
    /// Archive entry idx, sorted when asked; all zero outside the archive.
    TDrawRec ReadDraw(int idx, bool sorted) const;
    /// Numbers of Draw as a combination.
    TComb DrawComb() const { return lot::DrawToComb(m_draw); }
    /// Clears Work.
    void ClearWork() { m_work = TStatDraw{}; }

    int m_param = 0;
    const TStatList *m_list;
    const TDrawsArray *m_draws;
    TDrawRec m_draw;
    TDrawRec m_refDraw;
    TStatDraw m_work;
    TValueIndex *m_valueIndex = nullptr;
};

/// The descriptor of class T, reading T's static class operations.
template <class T> class TStatClassOf final : public TStatClass {
public:
    using TStatClass::TStatClass;
    QString CodeFormat() const override { return T::CodeFormat(); }
    QString CaptionFormat() const override { return T::CaptionFormat(); }
    QString HelpTopicFormat() const override {
        const QString topic = T::HelpTopicFormat();
        return topic.isEmpty() ? T::CodeFormat() : topic;
    }
    uint8_t Group() const override { return T::Group(); }
    uint8_t Flags() const override { return uint8_t(T::Flags() & ~sfGraph); }
    bool Enabled() const override { return T::Enabled(); }
    bool ShowInStatistics() const override { return T::ShowInStatistics(); }
    bool HasGraph() const override { return T::HasGraph(); }
    bool AllowsValueList() const override { return T::AllowsValueList(); }
    bool HasParamRange() const override { return T::HasParamRange(); }
    TParamRange GetParamRange(const TStatList &list) const override { return T::GetParamRange(list); }
    QString Caption(int param) const override {
        if constexpr (requires { T::CaptionOf(param); })
            return T::CaptionOf(param);
        else
            return TStatClass::Caption(param);
    }
    std::unique_ptr<TCustomStat> Create(const TStatList &list, int param) const override {
        return std::unique_ptr<TCustomStat>(new T(list, param));
    }
};

} // namespace lot

/// Declares the class descriptor of a concrete method class T.
#define LOT_STAT_CLASS(T)                                                                                    \
public:                                                                                                      \
    static const ::lot::TStatClass &StaticClass() {                                                          \
        static const ::lot::TStatClassOf<T> descriptor(#T);                                                  \
        return descriptor;                                                                                   \
    }                                                                                                        \
    const ::lot::TStatClass &Class() const override {                                                        \
        return StaticClass();                                                                                \
    }                                                                                                        \
                                                                                                             \
private:
