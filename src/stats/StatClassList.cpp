#include "stats/StatClassList.h"

#include "stats/methods/NumberMethods.h"

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
        // Sums: SUMS, SUM%d, SUMC, SUMV, SUMT, SUME, SUMP, S2T3.
        // Differences: DIFA, DIFM, DIFD, DIFO, DIFK.
        // Channels: CHAN, CHNV, CHNC.
        // Matrix: COLS, ROWS, COLV, ROWV, COLN, ROWN, COLM, ROWM, COLA, ROWA, COLC, ROWC.
        // Segments: SGMS, SGMV, SGMC.
        // Sequences: SEQL, SEQS, LENS.
        // Repeats: RPV2, RPV3, PRL2, PRV2O1, PRV2O2, PRV2O3, PRV+1, PRV-1, PRV+2, PRV-2,
        //          RPC2, RPC3, PRB2, RPO1, PRC2O2, PRC2O3, PRC+1, PRC-1, PRC+2, PRC-2.
        // Combination values: KNM2..4, KNS2..4, KNP2%d, KNP3%d, KNP4%d.
        // The combination members of other families, in this place:
        //   differences KDS2..4; channels KCM2..4, KCS2..4;
        //   matrix KFM2..4, KFS2..4, KRM2..4, KRS2..4; segments KGM2..4, KGS2..4.
        // Positions (group 0).
        &TstPosVal::StaticClass(), // POS%d
        &TstPosExt::StaticClass(), // POE%d
        // Per-channel, per-column, per-row, per-segment: CHN%d, COL%d, ROW%d, SGM%d.
        // Serials and periods: GRPV, GRPP, GRCV, GRCP, GRSV, GRSP, PRDV, PRDC, PRDG.
        // Transitions: SDV2, SDP2, SDN%d, SDP3, SDM%d, SCV2, SCP2, SCN%d, SCP3, SCM%d,
        //              SC2C%d, SC3C%d, SDA2, SDG2, SDZ2, SDC2, SSV2, SSP2, SSN%d, SSP3,
        //              SSM%d, SS2C%d, SS3C%d.
        // Ognev numbers: HCO1, HCO2, HCO3.
        // Shredding: SHR%d.
    };
    return classes;
}

} // namespace lot
