// The segment methods: their class operations, segments of the default map
// and of others (the order in which segments are first met), the
// registration that follows the segment map and bytes that lie in no
// segment.

#include "stats/methods/SegmentMethods.h"
#include "StatsTestUtil.h"

#include <gtest/gtest.h>

namespace lot {
namespace {

using test::MakeComb;
using test::Texts;

/// A probe whose game settings hold this segment map text.
void SetSegments(test::TMethodProbe &probe, const char *text) {
    TConfigData config = probe.List.Config();
    config.MatrixSegments = TextToSegmentMap(QString::fromLatin1(text));
    probe.List.SetConfig(config);
    probe.List.RegisterAll();
}

QString SegmentCodes(const TStatList &list) {
    QStringList codes;
    for (int i = 0; i < list.Count(); ++i)
        if (list.Items(i).StatClass == &TstSgmValCnt::StaticClass()) codes << list.EntryCode(i);
    return codes.join(',');
}

TEST(SegmentMethodsTest, ClassOperations) {
    struct TCase {
        const char *Code, *ClassName, *Caption, *Flags;
        bool ValueList;
    };
    const TCase cases[] = {
        {"SGMS", "TstSegments", "Сегменты матрицы", "N", true},
        {"SGMV", "TstSegmValues", "Количество чисел в сегменте матрицы", "N", false},
        {"SGMC", "TstSegmCount", "Количество не пустых сегментов в матрице", "NG", true},
        {"KGM2", "TstCombSegmMix2", "Сочетания из 2 сегментов по всем числам тиража", "S", false},
        {"KGM3", "TstCombSegmMix3", "Сочетания из 3 сегментов по всем числам тиража", "S", false},
        {"KGM4", "TstCombSegmMix4", "Сочетания из 4 сегментов по всем числам тиража", "S", false},
        {"KGS2", "TstCombSegmSeq2", "Сочетания из 2 сегментов по соседним числам", "S", false},
        {"KGS3", "TstCombSegmSeq3", "Сочетания из 3 сегментов по соседним числам", "S", false},
        {"KGS4", "TstCombSegmSeq4", "Сочетания из 4 сегментов по соседним числам", "S", false},
        {"SGM1", "TstSgmValCnt", "Количество чисел в 1 сегменте матрицы", "NG", true},
    };
    test::TMethodProbe probe;
    for (const TCase &c : cases) {
        const int i = probe.List.FindEntry(QString::fromLatin1(c.Code));
        ASSERT_GE(i, 0) << c.Code;
        const TStatClass &cls = *probe.List.Items(i).StatClass;
        EXPECT_STREQ(cls.ClassName(), c.ClassName);
        EXPECT_EQ(cls.Group(), 5) << c.Code;
        EXPECT_EQ(probe.List.EntryCaption(i), QString::fromUtf8(c.Caption)) << c.Code;
        EXPECT_EQ(FlagLetters(cls.FullFlags()), QString::fromLatin1(c.Flags)) << c.Code;
        EXPECT_EQ(cls.AllowsValueList(), c.ValueList) << c.Code;
    }
    EXPECT_EQ(TstSgmValCnt::StaticClass().HelpTopic(3), QStringLiteral("SGMx"));
    EXPECT_EQ(probe.List.DisplayCaption(probe.List.FindEntry(QStringLiteral("SGMC")), true),
              QString::fromUtf8("{ sgm } Количество не пустых сегментов в матрице [ NG ]"));
}

TEST(SegmentMethodsTest, DefaultMapIsOneSegment) {
    test::TMethodProbe probe;
    EXPECT_EQ(SegmentCodes(probe.List), QStringLiteral("SGM1"));
    const TComb c = MakeComb({40, 2, 17, 9, 33, 45});
    EXPECT_EQ(probe.CombTexts(QStringLiteral("SGMV"), c), Texts({"1 x 6"}));
    EXPECT_EQ(probe.CombTexts(QStringLiteral("SGMS"), c), Texts({"1"}));
    EXPECT_EQ(probe.CombTexts(QStringLiteral("SGMC"), c), Texts({"1"}));
    EXPECT_EQ(probe.CombTexts(QStringLiteral("SGM1"), c), Texts({"6"}));
    EXPECT_EQ(probe.CombTexts(QStringLiteral("KGS2"), c), Texts({"1:1"}));
    EXPECT_EQ(probe.ListedTexts(QStringLiteral("SGMS")), Texts({"1"}));
    EXPECT_TRUE(probe.ListedTexts(QStringLiteral("SGMV")).isEmpty());
    EXPECT_TRUE(probe.ListedTexts(QStringLiteral("SGMC")).isEmpty());
    EXPECT_TRUE(probe.ListedTexts(QStringLiteral("SGM1")).isEmpty());
}

TEST(SegmentMethodsTest, OnlyNumberFourInSegmentTwo) {
    test::TMethodProbe probe;
    SetSegments(probe, "1112");
    EXPECT_EQ(SegmentCodes(probe.List), QStringLiteral("SGM1,SGM2"));
    const TComb c = MakeComb({4, 30, 1, 2, 44, 3});
    auto sgms = probe.Stat(QStringLiteral("SGMS"));
    TStatDrawArray values;
    sgms->CombValues(c, values);
    ASSERT_EQ(test::ValueTexts(*sgms, values), Texts({"2", "1"}));
    EXPECT_EQ(values[0].Count, 1) << "segment 2 once";
    EXPECT_EQ(values[1].Count, 5);
    EXPECT_EQ(probe.CombTexts(QStringLiteral("SGMV"), c), Texts({"1 x 5", "2 x 1"}));
    EXPECT_EQ(probe.CombTexts(QStringLiteral("SGMC"), c), Texts({"2"}));
    EXPECT_EQ(probe.CombTexts(QStringLiteral("SGM2"), c), Texts({"1"}));
    EXPECT_EQ(probe.CombTexts(QStringLiteral("KGS2"), c), Texts({"2:1", "1:1"}));
    EXPECT_EQ(probe.CombTexts(QStringLiteral("SGMS"), MakeComb({5, 6, 7, 8, 9, 10})), Texts({"1"}));
    EXPECT_EQ(probe.ListedTexts(QStringLiteral("SGMS")), Texts({"1", "2"}));
}

TEST(SegmentMethodsTest, SegmentsInTheOrderTheirFirstNumbersCome) {
    // Number 1 in segment 3, 2 in segment 1, 3 in segment 9, the rest in 1.
    test::TMethodProbe probe;
    SetSegments(probe, "319");
    EXPECT_EQ(probe.ListedTexts(QStringLiteral("SGMS")), Texts({"3", "1", "9"}));
    EXPECT_EQ(probe.CombTexts(QStringLiteral("SGMV"), MakeComb({3, 10, 11, 12, 13, 14})),
              Texts({"3 x 0", "1 x 5", "9 x 1"}));
    EXPECT_EQ(SegmentCodes(probe.List), QStringLiteral("SGM1,SGM2,SGM3,SGM4,SGM5,SGM6,SGM7,SGM8,SGM9"));
    // Segments 2 and 4..8 exist as entries but hold no number.
    EXPECT_EQ(probe.CombTexts(QStringLiteral("SGM5"), MakeComb({1, 2, 3, 4, 5, 6})), Texts({"0"}));
    EXPECT_EQ(probe.CombTexts(QStringLiteral("SGM9"), MakeComb({1, 2, 3, 4, 5, 6})), Texts({"1"}));
}

TEST(SegmentMethodsTest, EntriesFollowTheSegmentMap) {
    struct TCase {
        const char *Map, *Codes;
    };
    const TCase cases[] = {
        {"", "SGM1"},
        {"12", "SGM1,SGM2"},
        {"1a2", "SGM1,SGM2"}, // a letter reads as segment 1
        {"555555555555555555555555555555555555555555555", "SGM5"},
        {"353333333333333333333333333333333333333333333", "SGM3,SGM4,SGM5"},
        {"999999999999999999999999999999999999999999997", "SGM7,SGM8,SGM9"},
    };
    for (const TCase &c : cases) {
        test::TMethodProbe probe;
        SetSegments(probe, c.Map);
        EXPECT_EQ(SegmentCodes(probe.List), QString::fromLatin1(c.Codes)) << c.Map;
        // The other segment members are there whatever the map.
        for (const char *code : {"SGMS", "SGMV", "SGMC", "KGM4", "KGS4"})
            EXPECT_GE(probe.List.FindEntry(QString::fromLatin1(code)), 0) << c.Map << " " << code;
    }
}

TEST(SegmentMethodsTest, BytesOutsideTheNumbersLieInNoSegment) {
    test::TMethodProbe probe;
    SetSegments(probe, "1112");
    const TComb c = MakeComb({0, 46, 4, 255, 1, 2});
    EXPECT_EQ(probe.CombTexts(QStringLiteral("SGMS"), c), Texts({"2", "1"}));
    EXPECT_EQ(probe.CombTexts(QStringLiteral("SGMV"), c), Texts({"1 x 2", "2 x 1"}));
    EXPECT_EQ(probe.CombTexts(QStringLiteral("SGMC"), c), Texts({"2"}));
    EXPECT_EQ(probe.CombTexts(QStringLiteral("SGM1"), c), Texts({"2"}));
    EXPECT_EQ(probe.CombTexts(QStringLiteral("KGS3"), c), Texts({"0:0:2", "0:2:0", "2:0:1", "0:1:1"}));
}

TEST(SegmentMethodsTest, InstancesKeepTheMapTheyWereMadeWith) {
    test::TMethodProbe probe;
    SetSegments(probe, "1112");
    auto before = probe.Stat(QStringLiteral("SGMS"));
    SetSegments(probe, "");
    const TComb c = MakeComb({4, 5, 6, 7, 8, 9});
    TStatDrawArray values;
    before->CombValues(c, values);
    EXPECT_EQ(test::ValueTexts(*before, values), Texts({"2", "1"}));
    EXPECT_EQ(probe.CombTexts(QStringLiteral("SGMS"), c), Texts({"1"}));
}

} // namespace
} // namespace lot
