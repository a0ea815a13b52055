#pragma once
/// @file Game constants and the three core records: draw, combination, number set.

#include <array>
#include <cstdint>
#include <QtGlobal>
#include <vector>

namespace lot {

inline constexpr int NumberCount = 45;
inline constexpr int CombSize = 6;
inline constexpr int ExtraCount = 2;
inline constexpr int FullSetSize = 8145060;
inline constexpr int SumMin = 21;
inline constexpr int SumMax = 255;
inline constexpr int SumTenth = (SumMax - SumMin) / 10;

/// Program name: every data file is named after it.
inline constexpr const char *ProgramName = "Brantlee_6x45";

inline constexpr bool IsValidNumber(int n) {
    return n >= 1 && n <= NumberCount;
}

#pragma pack(push, 1)
/// Length-prefixed short string as stored in files (byte 0 = length).
template <int Capacity> struct TShortString {
    uint8_t Length = 0;
    char Chars[Capacity] = {};
};

/// One draw; 24 bytes, also the record of the draws file.
struct TDrawRec {
    int32_t DrawNumber = 0;
    uint8_t Numbers[CombSize] = {}; ///< main numbers in draw order
    uint8_t Extra[ExtraCount] = {}; ///< supplementary numbers
    TShortString<11> DrawDate;      ///< "5 Dec 2026", empty when unknown
};

/// One combination: six numbers, one per byte.
struct TComb {
    uint8_t N[CombSize] = {};
    uint8_t &operator[](int i) { return N[i]; }
    uint8_t operator[](int i) const { return N[i]; }
    friend bool operator==(const TComb &a, const TComb &b) {
        for (int i = 0; i < CombSize; ++i)
            if (a.N[i] != b.N[i]) return false;
        return true;
    }
};

/// A count (0..8) and up to eight numbers; 12 bytes.
struct TNumberSet {
    int32_t Count = 0;
    uint8_t Numbers[8] = {};
};
#pragma pack(pop)

static_assert(sizeof(TDrawRec) == 24, "TDrawRec is a 24-byte file record");
static_assert(sizeof(TComb) == 6, "TComb is 6 bytes");
static_assert(sizeof(TNumberSet) == 12, "TNumberSet is 12 bytes");

using TDrawsArray = std::vector<TDrawRec>;
using TCombsArray = std::vector<TComb>;

/// Stake kinds (the byte stored in a stake record).
enum TStakeKind : uint8_t { skSeparator = 0, skManual = 1, skRegular = 2, skScript = 3, skSystem = 4 };

} // namespace lot
