#include "stats/StatClassList.h"

#include "stats/methods/ChannelMethods.h"
#include "stats/methods/CombValueMethods.h"
#include "stats/methods/DifferenceMethods.h"
#include "stats/methods/MatrixMethods.h"
#include "stats/methods/NumberMethods.h"
#include "stats/methods/OgnevMethods.h"
#include "stats/methods/RepeatMethods.h"
#include "stats/methods/SegmentMethods.h"
#include "stats/methods/SequenceMethods.h"
#include "stats/methods/SerialMethods.h"
#include "stats/methods/ShreddingMethods.h"
#include "stats/methods/SumMethods.h"
#include "stats/methods/TransitionMethods.h"

namespace lot {

// Each family has a fixed place in this list; a family that is not built yet
// is named by its codes in a comment at the place where it belongs.
const std::vector<const TStatClass *> &StatClassList() {
    static const std::vector<const TStatClass *> classes = {
        // Numbers, parity, halves, primes (group 0).
        &TstValues::StaticClass(),      // NUMS
        &TstDigits::StaticClass(),      // DIGS
        &TstEvenCount::StaticClass(),   // EVEN
        &TstEvenValues::StaticClass(),  // EVNV
        &TstSmallCount::StaticClass(),  // SMAL
        &TstSmallValues::StaticClass(), // SMLV
        &TstPrimeCount::StaticClass(),  // PRIM
        &TstPrimeValues::StaticClass(), // PRMV
        // Sums (group 1).
        &TstSumValues::StaticClass(),      // SUMS
        &TstSumRanges::StaticClass(),      // SUM%d
        &TstSumChange::StaticClass(),      // SUMC
        &TstSumChangeSome::StaticClass(),  // SUMV
        &TstSumTrend::StaticClass(),       // SUMT
        &TstSumEvenValues::StaticClass(),  // SUME
        &TstSumPrimeValues::StaticClass(), // SUMP
        &TstSum2To3::StaticClass(),        // S2T3
        // Differences (group 2).
        &TstDiffTotal::StaticClass(),   // DIFA
        &TstDiffMax::StaticClass(),     // DIFM
        &TstMinMaxDiffs::StaticClass(), // DIFD
        &TstDiffSame::StaticClass(),    // DIFO
        &TstDiffSameCnt::StaticClass(), // DIFK
        // Channels (group 3).
        &TstChannels::StaticClass(),   // CHAN
        &TstChanValues::StaticClass(), // CHNV
        &TstChanCount::StaticClass(),  // CHNC
        // Matrix (group 4).
        &TstColumns::StaticClass(),       // COLS
        &TstRows::StaticClass(),          // ROWS
        &TstColValues::StaticClass(),     // COLV
        &TstRowValues::StaticClass(),     // ROWV
        &TstColCount::StaticClass(),      // COLN
        &TstRowCount::StaticClass(),      // ROWN
        &TstColMask::StaticClass(),       // COLM
        &TstRowMask::StaticClass(),       // ROWM
        &TstColAjacent::StaticClass(),    // COLA
        &TstRowAjacent::StaticClass(),    // ROWA
        &TstColAjacentCnt::StaticClass(), // COLC
        &TstRowAjacentCnt::StaticClass(), // ROWC
        // Segments (group 5).
        &TstSegments::StaticClass(),   // SGMS
        &TstSegmValues::StaticClass(), // SGMV
        &TstSegmCount::StaticClass(),  // SGMC
        // Sequences (group 6).
        &TstSequenceLen::StaticClass(),    // SEQL
        &TstSequenceCnt::StaticClass(),    // SEQS
        &TstSequenceLenMax::StaticClass(), // LENS
        // Repeats (group 7).
        &TstRepValues2::StaticClass(),      // RPV2
        &TstRepValues3::StaticClass(),      // RPV3
        &TstRepValues2B3::StaticClass(),    // PRL2
        &TstRepValues2over1::StaticClass(), // PRV2O1
        &TstRepValues2over2::StaticClass(), // PRV2O2
        &TstRepValues2over3::StaticClass(), // PRV2O3
        &TstRepValues2P1::StaticClass(),    // PRV+1
        &TstRepValues2N1::StaticClass(),    // PRV-1
        &TstRepValues2P2::StaticClass(),    // PRV+2
        &TstRepValues2N2::StaticClass(),    // PRV-2
        &TstRepCount2::StaticClass(),       // RPC2
        &TstRepCount3::StaticClass(),       // RPC3
        &TstRepCount2B3::StaticClass(),     // PRB2
        &TstRepCount2over1::StaticClass(),  // RPO1
        &TstRepCount2over2::StaticClass(),  // PRC2O2
        &TstRepCount2over3::StaticClass(),  // PRC2O3
        &TstRepCount2P1::StaticClass(),     // PRC+1
        &TstRepCount2N1::StaticClass(),     // PRC-1
        &TstRepCount2P2::StaticClass(),     // PRC+2
        &TstRepCount2N2::StaticClass(),     // PRC-2
        // Combination values (group 0).
        &TstCombValMix2::StaticClass(), // KNM2
        &TstCombValMix3::StaticClass(), // KNM3
        &TstCombValMix4::StaticClass(), // KNM4
        &TstCombValSeq2::StaticClass(), // KNS2
        &TstCombValSeq3::StaticClass(), // KNS3
        &TstCombValSeq4::StaticClass(), // KNS4
        &TstCombValPos2::StaticClass(), // KNP2%d
        &TstCombValPos3::StaticClass(), // KNP3%d
        &TstCombValPos4::StaticClass(), // KNP4%d
        // The combination members of other families, in this place.
        &TstCombDiffSeq2::StaticClass(), // KDS2
        &TstCombDiffSeq3::StaticClass(), // KDS3
        &TstCombDiffSeq4::StaticClass(), // KDS4
        &TstCombChnMix2::StaticClass(),  // KCM2
        &TstCombChnMix3::StaticClass(),  // KCM3
        &TstCombChnMix4::StaticClass(),  // KCM4
        &TstCombChnSeq2::StaticClass(),  // KCS2
        &TstCombChnSeq3::StaticClass(),  // KCS3
        &TstCombChnSeq4::StaticClass(),  // KCS4
        &TstCombColMix2::StaticClass(),  // KFM2
        &TstCombColMix3::StaticClass(),  // KFM3
        &TstCombColMix4::StaticClass(),  // KFM4
        &TstCombColSeq2::StaticClass(),  // KFS2
        &TstCombColSeq3::StaticClass(),  // KFS3
        &TstCombColSeq4::StaticClass(),  // KFS4
        &TstCombRowMix2::StaticClass(),  // KRM2
        &TstCombRowMix3::StaticClass(),  // KRM3
        &TstCombRowMix4::StaticClass(),  // KRM4
        &TstCombRowSeq2::StaticClass(),  // KRS2
        &TstCombRowSeq3::StaticClass(),  // KRS3
        &TstCombRowSeq4::StaticClass(),  // KRS4
        &TstCombSegmMix2::StaticClass(), // KGM2
        &TstCombSegmMix3::StaticClass(), // KGM3
        &TstCombSegmMix4::StaticClass(), // KGM4
        &TstCombSegmSeq2::StaticClass(), // KGS2
        &TstCombSegmSeq3::StaticClass(), // KGS3
        &TstCombSegmSeq4::StaticClass(), // KGS4
        // Positions (group 0).
        &TstPosVal::StaticClass(), // POS%d
        &TstPosExt::StaticClass(), // POE%d
        // Per channel, column, row (groups 3, 4).
        &TstChnValCnt::StaticClass(), // CHN%d
        &TstColValCnt::StaticClass(), // COL%d
        &TstRowValCnt::StaticClass(), // ROW%d
        // Per segment (group 5).
        &TstSgmValCnt::StaticClass(), // SGM%d
        // Series (group 8) and periods (group 9).
        &TstNumGroups::StaticClass(),  // GRPV
        &TstNumPauses::StaticClass(),  // GRPP
        &TstChnGroups::StaticClass(),  // GRCV
        &TstChnPauses::StaticClass(),  // GRCP
        &TstSgmGroups::StaticClass(),  // GRSV
        &TstSgmPauses::StaticClass(),  // GRSP
        &TstNumPeriods::StaticClass(), // PRDV
        &TstChnPeriods::StaticClass(), // PRDC
        &TstSgmPeriods::StaticClass(), // PRDG
        // Transitions (group 10).
        &TstChainValues2::StaticClass(),            // SDV2
        &TstChainValues2Pos::StaticClass(),         // SDP2
        &TstChainValues2At::StaticClass(),          // SDN%d
        &TstChainValues3Pos::StaticClass(),         // SDP3
        &TstChainValues3At::StaticClass(),          // SDM%d
        &TstChainChannels2::StaticClass(),          // SCV2
        &TstChainChannels2Pos::StaticClass(),       // SCP2
        &TstChainChannels2At::StaticClass(),        // SCN%d
        &TstChainChannels3Pos::StaticClass(),       // SCP3
        &TstChainChannels3At::StaticClass(),        // SCM%d
        &TstChainChannels2Cnt::StaticClass(),       // SC2C%d
        &TstChainChannels3Cnt::StaticClass(),       // SC3C%d
        &TstChainChannels2InsideAll::StaticClass(), // SDA2
        &TstChainChannels2InsideSuc::StaticClass(), // SDG2
        &TstChainChannels2InsideBad::StaticClass(), // SDZ2
        &TstChainChannels2InsideCnt::StaticClass(), // SDC2
        &TstChainSegments2::StaticClass(),          // SSV2
        &TstChainSegments2Pos::StaticClass(),       // SSP2
        &TstChainSegments2At::StaticClass(),        // SSN%d
        &TstChainSegments3Pos::StaticClass(),       // SSP3
        &TstChainSegments3At::StaticClass(),        // SSM%d
        &TstChainSegments2Cnt::StaticClass(),       // SS2C%d
        &TstChainSegments3Cnt::StaticClass(),       // SS3C%d
        // Ognev numbers (group 11).
        &TstOgnev1::StaticClass(), // HCO1
        &TstOgnev2::StaticClass(), // HCO2
        &TstOgnev3::StaticClass(), // HCO3
        // Shredding (group 12).
        &TstShreddingStat::StaticClass(), // SHR%d
    };
    return classes;
}

} // namespace lot
