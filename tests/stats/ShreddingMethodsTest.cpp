// The shredding formulas: the value of a formula as its text reads with the
// numbers put in, the one-parse evaluator against that text, where the
// numbers come from in each operation, and hostile formulas.

#include "stats/methods/ShreddingMethods.h"
#include "StatsTestUtil.h"

#include "filters/FilterPass.h"
#include "stats/GraphViews.h"
#include "stats/StatList.h"

#include <gtest/gtest.h>

#include <random>

namespace lot {
namespace {

using test::MakeComb;
using test::MakeStatDraw;

TShreddingNumbers Numbers(std::array<int, 6> n, std::array<int, 6> p = {}, std::array<int, 6> t = {}) {
    TShreddingNumbers s;
    for (size_t i = 0; i < 6; ++i) {
        s.N[i] = uint8_t(n[i]);
        s.P[i] = uint8_t(p[i]);
        s.T[i] = uint8_t(t[i]);
    }
    return s;
}

TEST(ShreddingFormulaTest, ValuesAsWritten) {
    const TShreddingNumbers example =
        Numbers({3, 8, 15, 22, 30, 41}, {1, 2, 3, 4, 5, 6}, {7, 8, 9, 10, 11, 12});
    struct TCase {
        const char *Formula;
        int Digits;
        int Expected;
    } cases[] = {
        {"(n1+n2+n3)/(n4+n5+n6)", 2, 27}, // 26/93 = 0.27956...
        {"(n1+n2+n3)/(n4+n5+n6)", 5, 27956},
        {"(n1+n2+n3)/(n4+n5+n6)", 0, 0},
        {"(N1+n2+N3)/(n4+N5+n6)", 2, 27}, // letter case is ignored
        {"n12/100", 3, 320},              // "n12" is n1 and the digit 2: 32/100
        {"n1/(p1-p1)", 2, 0},             // division by zero
        {"(p1-p1)/(t1-t1)", 2, 0},        // 0/0
        {"-n2/7", 3, 142},                // |-8/7| = 1.142...
        {"n1+", 2, 0},                    // syntax error
        {"x1/7", 2, 0},                   // unknown name
        {"", 2, 0},                       // empty
        {"9^9^9^9", 2, 0},                // overflow to infinity
        {"sqrt(n2)", 4, 8284},            // muparser's functions: 2.828427...
        {"atan2(n1,n2)", 2, 0},           // "n2" inside "atan2" is replaced too
        {"n1=5", 2, 0},                   // "3=5" assigns to no variable
        {"1e-n1*12345", 2, 34},           // "1e-3*12345" = 12.345
        {"2n1/7", 3, 285},                // "23/7" = 3.2857...
        {"t6/p6+n6", 4, 0},               // 12/6 + 41 = 43
        {"(t6+p6)/7", 4, 5714},           // 18/7
        {"1/3", 10, 0},                   // 3333333333 does not fit the value
        {"1/3", 9, 333333333},
        {"29/100", 2, 28}, // 0.29 * 100 = 28.999... in floating point
    };
    for (const TCase &c : cases) {
        const QString formula = QString::fromLatin1(c.Formula);
        EXPECT_EQ(ShreddingValueAsWritten(formula, c.Digits, example), c.Expected) << c.Formula;
        TShreddingEvaluator evaluator(formula, c.Digits);
        EXPECT_EQ(evaluator.Value(example), c.Expected) << c.Formula << " evaluator";
    }
}

TEST(ShreddingFormulaTest, SubstitutionOrder) {
    // n1 first, then p1, t1, then n2 ...: "pn1" becomes "p3" and then p3's number.
    const TShreddingNumbers s = Numbers({3, 8, 15, 22, 30, 41}, {1, 2, 7, 4, 5, 6}, {9, 9, 9, 9, 9, 9});
    EXPECT_EQ(SubstituteNumbers(QStringLiteral("pn1+T2*N6"), s), QStringLiteral("7+9*41"));
    EXPECT_EQ(SubstituteNumbers(QStringLiteral("n7+n0"), s), QStringLiteral("n7+n0"));
}

TEST(ShreddingFormulaTest, BindsOnlyWhereTheTextReadsTheSame) {
    struct TCase {
        const char *Formula;
        bool Bound;
    } cases[] = {
        {"(n1+n2+n3)/(n4+n5+n6)", true},
        {"(P1 + t6) * N3 / 7", true},
        {"sqrt(n1)+abs(p2-t2)", true},
        {"n1>=n2 ? n3 : n4", true},
        {"n1==n2", true},
        {"n12/7", false},
        {"2n1", false},
        {"n1.5", false},
        {"1e-n1", false},
        {"xn1", false},
        {"atan2(n1,n2)", false},
        {"n1=5", false},
        {"n1+=5", false},
        {"n7/3", true}, // no name to bind: an unknown name either way
    };
    for (const TCase &c : cases) {
        const QString formula = QString::fromLatin1(c.Formula);
        EXPECT_EQ(CanBindNumbers(formula), c.Bound) << c.Formula;
        EXPECT_EQ(TShreddingEvaluator(formula, 2).IsBound(), c.Bound) << c.Formula;
    }
}

TEST(ShreddingFormulaTest, EvaluatorEqualsTheWrittenFormula) {
    std::mt19937 rng(20261211);
    std::uniform_int_distribution<int> number(0, 45);
    const char *formulas[] = {
        "(n1+n2+n3)/(n4+n5+n6)", "(n4+n5+n6)/(n1+n2+n3)", "(n1*n3*n5+0.1)/(n2+n4+n6)/7",
        "n1/(p1+p2)+t3",         "sqrt(n1*n2)/log(n3+2)", "n12/(P1+p2)*T6",
        "4*n1/3 + n2*0.1 + 0.2", "n1>n2 ? n3/7 : n4/9",   "sin(n1)*1000",
    };
    for (const char *f : formulas) {
        const QString formula = QString::fromLatin1(f);
        TShreddingEvaluator evaluator(formula, 6);
        for (int round = 0; round < 300; ++round) {
            TShreddingNumbers s;
            for (size_t i = 0; i < 6; ++i) {
                s.N[i] = uint8_t(number(rng));
                s.P[i] = uint8_t(round % 5 == 0 ? 0 : number(rng));
                s.T[i] = uint8_t(number(rng));
            }
            ASSERT_EQ(evaluator.Value(s), ShreddingValueAsWritten(formula, 6, s)) << f;
        }
    }
}

TEST(ShreddingFormulaTest, HostileFormulasGiveZeroOrAMessage) {
    const TShreddingNumbers s = Numbers({3, 8, 15, 22, 30, 41}, {1, 2, 3, 4, 5, 6});
    const QString nested =
        QString(5000, QLatin1Char('(')) + QStringLiteral("n1") + QString(5000, QLatin1Char(')'));
    QString functions;
    for (int i = 0; i < 2000; ++i)
        functions += QStringLiteral("sin(");
    functions += QStringLiteral("n1") + QString(2000, QLatin1Char(')'));
    QString powers = QStringLiteral("9");
    for (int i = 0; i < 3000; ++i)
        powers += QStringLiteral("^9");
    QString sums = QStringLiteral("n1");
    while (sums.size() < 10000)
        sums += QStringLiteral("+n2");
    const QString hostile[] = {
        nested,
        functions,
        powers,
        QStringLiteral("10^308*10^308"),
        QStringLiteral("unknown(n1)+foo"),
        QString(10000, QLatin1Char('x')),
        QString(10000, QLatin1Char('(')),
        sums,
        sums + sums, // past muparser's length limit
        QString(20000, QLatin1Char('-')) + QStringLiteral("1"),
        QStringLiteral("n1?"),
        QStringLiteral("Ж+\u0000+n1"),
        QStringLiteral("sum()"),
        QStringLiteral("min(n1,"),
    };
    for (const QString &f : hostile) {
        const int32_t value = TShreddingEvaluator(f, 2).Value(s);
        EXPECT_GE(value, 0);
        EXPECT_LT(value, 100);
        EXPECT_EQ(value, ShreddingValueAsWritten(f, 2, s)) << f.left(40).toStdString();
        const TFormulaProblem problem = CheckFormula(f);
        if (problem.Code >= 0) {
            EXPECT_TRUE(FormulaProblemText(1, problem).startsWith(QStringLiteral("Ошибка в формуле 1: ")));
        }
    }
    EXPECT_GE(CheckFormula(QString(10000, QLatin1Char('x'))).Code, 0);
}

TEST(ShreddingFormulaTest, ProblemTexts) {
    struct TCase {
        const char *Formula;
        const char *Text; ///< the Russian part before the parser's own message
    } cases[] = {
        {"(n1+n2+n3)/(n4+n5+n6)", nullptr},
        {"n1/0", nullptr}, // a division by zero is a value, not an error of the text
        {"(n1+n2", "Ошибка в формуле 2: не хватает закрывающей скобки."},
        {"n1+*n2", "Ошибка в формуле 2: неожиданный оператор \"*\" в позиции 4."},
        {"n1+foo", "Ошибка в формуле 2: неизвестное имя или знак \"foo\" в позиции 4."},
        {"", "Ошибка в формуле 2: формула пуста."},
        {"n1 n2", "Ошибка в формуле 2: неожиданная переменная \"n2\" в позиции 4."},
    };
    for (const TCase &c : cases) {
        const TFormulaProblem problem = CheckFormula(QString::fromUtf8(c.Formula));
        if (!c.Text) {
            EXPECT_LT(problem.Code, 0) << c.Formula;
            continue;
        }
        ASSERT_GE(problem.Code, 0) << c.Formula;
        const QString text = FormulaProblemText(2, problem);
        EXPECT_TRUE(
            text.startsWith(QString::fromUtf8(c.Text) + QStringLiteral("\r\rСообщение анализатора формул: ")))
            << text.toStdString();
        EXPECT_TRUE(text.endsWith(problem.Message));
    }
}

// ---- the methods ----------------------------------------------------------------------------

class ShreddingMethodsTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_archive.Append(MakeStatDraw(11, {3, 8, 15, 22, 30, 41}));
        m_archive.Append(MakeStatDraw(12, {41, 30, 22, 15, 8, 3}));
        m_archive.Append(MakeStatDraw(13, {5, 10, 14, 30, 33, 37}));
        m_archive.Append(MakeStatDraw(14, {10, 20, 30, 15, 21, 24}));
        m_archive.Append(MakeStatDraw(15, {45, 44, 43, 1, 2, 3}));
    }

    void Use(const QString &formula, int digits) {
        TShreddingData data = m_list.Shredding();
        data.Formula1 = formula;
        data.Formula1Digits = digits;
        m_list.SetShredding(data);
        m_list.RegisterAll();
    }

    std::unique_ptr<TCustomStat> Shr1() {
        return m_list.CreateStat(m_list.FindEntry(QStringLiteral("SHR1")));
    }

    static int32_t DrawValue(TCustomStat &stat, int idx, int last, bool sorted) {
        TStatDrawArray values;
        TStatScratch scratch;
        TLastValueArray lastValues;
        stat.DrawValues(idx, last, sorted, values, scratch, lastValues);
        EXPECT_EQ(values.size(), 1u);
        return values.empty() ? -1 : values[0].Key.D(1);
    }
    static int32_t CombValue(TCustomStat &stat, const TComb &c) {
        TStatDrawArray values;
        stat.CombValues(c, values);
        EXPECT_EQ(values.size(), 1u);
        return values.empty() ? -1 : values[0].Key.D(1);
    }

    TDrawsArchive m_archive;
    TStatList m_list{&m_archive};
};

TEST_F(ShreddingMethodsTest, RegisteredWithTheirFormulas) {
    m_list.RegisterAll();
    const int first = m_list.FindEntry(QStringLiteral("SHR1"));
    ASSERT_GE(first, 0);
    EXPECT_EQ(first, m_list.Count() - 3) << "the last entries of the class list";
    EXPECT_EQ(m_list.DisplayCaption(first, true),
              QStringLiteral("{ shr } Метод шинковки 1: (n1+n2+n3)/(n4+n5+n6) [ SNG ]"));
    EXPECT_EQ(m_list.EntryCaption(first + 1), QStringLiteral("Метод шинковки 2: (n4+n5+n6)/(n1+n2+n3)"));
    EXPECT_EQ(m_list.EntryCaption(first + 2), QStringLiteral("Метод шинковки 3: (n1+n3+n5)/(n2+n4+n6)"));
    const TStatClass &cls = TstShreddingStat::StaticClass();
    EXPECT_EQ(cls.HelpTopic(2), QStringLiteral("SHRx"));
    EXPECT_TRUE(cls.CanPrefetch());
    EXPECT_TRUE(cls.AllowsValueList());
    EXPECT_EQ(cls.Group(), 12);
    auto stat = m_list.CreateStat(first + 1);
    auto *shr = dynamic_cast<TstShreddingStat *>(stat.get());
    ASSERT_NE(shr, nullptr);
    EXPECT_EQ(shr->FormulaText(), QStringLiteral("(n4+n5+n6)/(n1+n2+n3)"));
    EXPECT_EQ(shr->FormulaDigits(), 2);
    TStatDrawArray none;
    shr->EnumAllValues(4, none);
    EXPECT_TRUE(none.empty()) << "no values are listed in advance";
}

TEST_F(ShreddingMethodsTest, WhereTheNumbersComeFrom) {
    // n + 10 p + 100 t of the first numbers as four digits of the fraction
    // (the small addition keeps the products off the digits' edges).
    Use(QStringLiteral("(n1+10*p1+100*t1)/10000+0.00001"), 4);
    auto stat = Shr1();
    // Draws: p and t are the two entries before, zeros before the oldest.
    EXPECT_EQ(DrawValue(*stat, 0, 4, false), 3);
    EXPECT_EQ(DrawValue(*stat, 1, 4, false), 41 + 30);
    EXPECT_EQ(DrawValue(*stat, 2, 4, false), 5 + 410 + 300);
    EXPECT_EQ(DrawValue(*stat, 2, 4, true), 5 + 30 + 300); // sorted: entry 1's first number is 3
    // The full set: p and t are zeros.
    EXPECT_EQ(CombValue(*stat, MakeComb({7, 8, 9, 10, 11, 12})), 7);
    // A filter: p the reference draw, t the one before it.
    TStatDrawArray selected(1);
    selected[0].Key = TStatKey::FromInts(7 + 450 + 1000);
    stat->LoadDraws(-1, 4, false);
    EXPECT_TRUE(stat->CombMatches(MakeComb({7, 8, 9, 10, 11, 12}), selected, 4, false, false));
    EXPECT_TRUE(stat->MakeMatcher(selected, 4, false, false)->Matches(MakeComb({7, 8, 9, 10, 11, 12})));
    selected[0].Key = TStatKey::FromInts(7 + 10 + 1000); // sorted: 1 and 10
    EXPECT_TRUE(stat->CombMatches(MakeComb({7, 8, 9, 10, 11, 12}), selected, 4, true, false));
    // Graph values: the entries before the one the numbers stand for.
    auto *graph = dynamic_cast<TCustomGraphStat *>(stat.get());
    ASSERT_NE(graph, nullptr);
    stat->LoadDraws(3, 2, false);
    EXPECT_EQ(graph->GraphValue(MakeComb({9, 1, 2, 3, 4, 5}), 3), 9 + 50 + 4100);
    EXPECT_EQ(graph->DrawGraphValue(4, 4, false), 45 + 100 + 500);
}

TEST_F(ShreddingMethodsTest, DetailRowsShowTheFormula) {
    m_list.RegisterAll();
    // Entry 2 (5 10 14 30 33 37): 29/100 is 0.28999... in floating point.
    const QList<TDetailValue> rows = DetailValues(m_list, MakeComb({5, 10, 14, 30, 33, 37}), 2, false);
    ASSERT_GE(rows.size(), 3);
    const TDetailValue &shr1 = rows[rows.size() - 3];
    EXPECT_EQ(shr1.Caption, QStringLiteral("Метод шинковки 1: (n1+n2+n3)/(n4+n5+n6)"));
    EXPECT_EQ(shr1.Value, 28);
}

TEST_F(ShreddingMethodsTest, EdgeCasesOfTheDistributions) {
    struct TCase {
        const char *Formula;
        int Digits;
        bool SameForFullSet; ///< a draw's value equals the value of its numbers as a combination
        bool FullSetZero;    ///< every combination has the value 0
    } cases[] = {
        {"(n1+n2+n3)/(n4+n5+n6)", 2, true, false}, // only n: the same for both
        {"n12/(n4+n5+n6)", 3, true, false},        // only n, valued from the text
        {"n1/(p1+p2)", 2, false, true},            // divides by a sum that is 0 for the full set
        {"(n1+p1)/7", 3, false, false},            // p reads 0 for the full set
        {"(n1+n2+n3)/(n4+n5+n6)", 0, true, true},  // 0 digits: every value 0
    };
    for (const TCase &c : cases) {
        Use(QString::fromLatin1(c.Formula), c.Digits);
        auto stat = Shr1();
        bool allSame = true, allZero = true;
        for (int i = 0; i < m_archive.Count(); ++i) {
            const TComb comb = DrawToComb(m_archive.Draws()[size_t(i)]);
            const int32_t drawValue = DrawValue(*stat, i, m_archive.Count() - 1, false);
            const int32_t combValue = CombValue(*stat, comb);
            allSame = allSame && drawValue == combValue;
            allZero = allZero && combValue == 0;
            const TShreddingNumbers zeros = Numbers({comb[0], comb[1], comb[2], comb[3], comb[4], comb[5]});
            EXPECT_EQ(combValue, ShreddingValueAsWritten(QString::fromLatin1(c.Formula), c.Digits, zeros));
            if (c.Digits == 0) {
                EXPECT_EQ(drawValue, 0);
            }
        }
        EXPECT_EQ(allSame, c.SameForFullSet) << c.Formula;
        EXPECT_EQ(allZero, c.FullSetZero) << c.Formula;
    }
}

TEST_F(ShreddingMethodsTest, ParallelPassEqualsTheSequentialOne) {
    std::vector<TComb> source;
    std::mt19937 rng(5);
    std::uniform_int_distribution<int> number(1, NumberCount);
    for (int i = 0; i < 70000; ++i) { // past the size a pass runs in parallel from
        TComb c;
        for (int k = 0; k < CombSize; ++k)
            c[k] = uint8_t(number(rng));
        source.push_back(c);
    }
    // The evaluators of the pool are the same for formulas valued from their
    // texts, only slower.
    for (const char *f : {"(n1+n2+n3)/(n4+n5+n6)", "n1/(n4+p5+t6)"}) {
        Use(QString::fromLatin1(f), 1);
        auto stat = Shr1();
        TStatDrawArray selected(3);
        for (int k = 0; k < 3; ++k)
            selected[size_t(k)].Key = TStatKey::FromInts(2 * k + 1);
        const auto matcher = stat->MakeMatcher(selected, 4, false, false);
        std::vector<TComb> parallel(source.size()), sequential(source.size());
        const int kept = RunFilterPass(source, parallel.data(), *matcher, true);
        ASSERT_EQ(kept, RunFilterPassSequential(source, sequential.data(), *matcher, true)) << f;
        EXPECT_GT(kept, 0) << f;
        EXPECT_TRUE(std::equal(parallel.begin(), parallel.begin() + kept, sequential.begin())) << f;
    }
}

} // namespace
} // namespace lot
