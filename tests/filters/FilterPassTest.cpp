#include "filters/FilterPass.h"
#include "combs/CombGenerator.h"
#include "core/Errors.h"
#include "FiltersTestUtil.h"

#include <gtest/gtest.h>

#include <cstring>
#include <QThread>
#include <random>

namespace lot {
namespace {

const std::vector<TComb> &FullSet() {
    static const std::vector<TComb> full = [] {
        std::vector<TComb> v(static_cast<size_t>(FullSetSize));
        v.resize(size_t(GenerateInto(cgmFullSet, 0, v.data())));
        return v;
    }();
    return full;
}

/// A thread-safe matcher with an irregular answer, so survivors come in
/// runs of every length and the compaction is exercised at chunk edges.
class THashMatcher final : public TCombMatcher {
public:
    explicit THashMatcher(uint32_t salt) : m_salt(salt) {}
    bool Matches(const TComb &c) const override {
        uint32_t h = m_salt;
        for (int i = 0; i < CombSize; ++i)
            h = (h ^ c[i]) * 16777619u;
        return (h >> 7) % 3 == 0;
    }
    bool IsThreadSafe() const override { return true; }

private:
    uint32_t m_salt;
};

class TThrowingMatcher final : public TCombMatcher {
public:
    bool Matches(const TComb &c) const override {
        if (c[0] == 30) throw EError(QStringLiteral("boom"));
        return c[5] % 2 == 0;
    }
    bool IsThreadSafe() const override { return true; }
};

struct TPassResult {
    std::vector<TComb> Survivors;
    bool operator==(const TPassResult &) const = default;
};

TPassResult Pass(const std::vector<TComb> &source, const TCombMatcher &m, bool keep, bool parallel,
                 bool sequentialReference = false) {
    std::vector<TComb> target(source.size());
    TFilterPassOptions options;
    options.Parallel = parallel;
    const int n = sequentialReference ? RunFilterPassSequential(source, target.data(), m, keep)
                                      : RunFilterPass(source, target.data(), m, keep, options);
    target.resize(size_t(n));
    return {target};
}

/// The pass written as plainly as possible: the reference for both passes.
TPassResult Plain(const std::vector<TComb> &source, const TCombMatcher &m, bool keep) {
    TPassResult r;
    for (const TComb &c : source)
        if (m.Matches(c) == keep) r.Survivors.push_back(c);
    return r;
}

/// Selected keys: the given w1 values.
TStatDrawArray Words(std::initializer_list<int> values) {
    TStatDrawArray selected;
    for (int v : values) {
        TStatDraw d;
        d.Key = TStatKey::FromWords(uint16_t(v));
        selected.push_back(d);
    }
    return selected;
}

/// Selected keys: the given d1 values (masks).
TStatDrawArray Ints(const std::vector<int> &values) {
    TStatDrawArray selected;
    for (int v : values) {
        TStatDraw d;
        d.Key = TStatKey::FromInts(v);
        selected.push_back(d);
    }
    return selected;
}

TEST(FilterPassTest, ParallelPassEqualsSequentialPassForSeveralMethods) {
    TDrawsArchive archive;
    TStatList stats{&archive};
    stats.RegisterAll();
    std::vector<int> masks;
    for (int m = 0; m < 64; m += 3)
        masks.push_back(m);

    struct TCase {
        const char *Code;
        TStatDrawArray Selected;
    };
    const TCase cases[] = {
        {"NUMS", Words({3, 9, 17, 22, 38, 45})},
        {"POS1", Words({1, 2, 3, 4, 5, 6, 7, 8, 9, 10})},
        {"PRMV", Ints(masks)},
        {"DIGS", Words({0, 7})},
        {"EVEN", Words({2, 3})},
        {"POS6", Words({})},
    };
    for (const TCase &c : cases) {
        const std::unique_ptr<TCustomStat> stat =
            stats.CreateStat(stats.FindEntry(QString::fromLatin1(c.Code)));
        for (bool keep : {true, false}) {
            SCOPED_TRACE(testing::Message() << c.Code << (keep ? " keep" : " delete"));
            const auto matcher = stat->MakeMatcher(c.Selected, 0, false, !keep);
            const TPassResult reference = Plain(FullSet(), *matcher, keep);
            EXPECT_EQ(Pass(FullSet(), *matcher, keep, false, true), reference);
            EXPECT_EQ(Pass(FullSet(), *matcher, keep, true), reference);
            // The matcher answers as the method's own CombMatches does (on a
            // sample of the full set: the plain scan is slow).
            for (size_t i = 0; i < FullSet().size(); i += 101) {
                const TComb &comb = FullSet()[i];
                ASSERT_EQ(matcher->Matches(comb), stat->CombMatches(comb, c.Selected, 0, false, !keep))
                    << CombToText(comb).toStdString();
            }
        }
    }
}

TEST(FilterPassTest, IrregularSurvivorsKeepTheirOrderOnEverySize) {
    std::mt19937 random(7);
    for (size_t size : {size_t(0), size_t(1), size_t(63), size_t(64), size_t(65), size_t(4097), size_t(65535),
                        size_t(65536), size_t(200003), size_t(1) << 20}) {
        std::vector<TComb> source(size);
        for (TComb &c : source)
            for (int i = 0; i < CombSize; ++i)
                c[i] = uint8_t(random() % 45 + 1);
        for (uint32_t salt : {1u, 99u}) {
            const THashMatcher m(salt);
            for (bool keep : {true, false}) {
                const TPassResult reference = Plain(source, m, keep);
                EXPECT_EQ(Pass(source, m, keep, true), reference) << size;
                EXPECT_EQ(Pass(source, m, keep, false, true), reference) << size;
                EXPECT_EQ(Pass(source, m, keep, false), reference) << size;
            }
        }
    }
}

TEST(FilterPassTest, TicksOnTheCallingThread) {
    const THashMatcher m(3);
    const size_t expected = Pass(FullSet(), m, true, false, true).Survivors.size();
    for (bool parallel : {true, false}) {
        std::vector<TComb> target(FullSet().size());
        int ticks = 0;
        bool onCaller = true;
        const Qt::HANDLE caller = QThread::currentThreadId();
        TFilterPassOptions options;
        options.Parallel = parallel;
        options.Tick = [&] {
            ++ticks;
            onCaller = onCaller && QThread::currentThreadId() == caller;
        };
        EXPECT_EQ(size_t(RunFilterPass(FullSet(), target.data(), m, true, options)), expected);
        EXPECT_TRUE(onCaller);
        // The sequential pass ticks after each of its hundred slices; the
        // parallel one after each chunk the calling thread took in either of
        // its two phases (how many depends on how busy the machine is) and
        // once at the end of each phase.
        EXPECT_GE(ticks, parallel ? 2 : 99);
        EXPECT_LE(ticks, parallel ? QThread::idealThreadCount() * 100 + 2 : 101);
    }
}

TEST(FilterPassTest, MatcherErrorsReachTheCaller) {
    const TThrowingMatcher m;
    std::vector<TComb> target(FullSet().size());
    for (bool parallel : {true, false}) {
        TFilterPassOptions options;
        options.Parallel = parallel;
        EXPECT_THROW(RunFilterPass(FullSet(), target.data(), m, true, options), EError);
    }
}

} // namespace
} // namespace lot
