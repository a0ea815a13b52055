#pragma once
/// @file Group 4 methods: the numbers 1..45 laid out row by row as a matrix
/// of MatrixCols columns (a game setting, read when the instance is made):
/// the column and row of each number, how many numbers each column and row
/// holds, how many are occupied and which (as a mask), where numbers touch
/// (vertically: n and n + cols; horizontally: n and n + 1 in one row), the
/// columns and rows of every tuple and run of positions (KFM, KFS, KRM,
/// KRS) and the count in one column or row (COL%d, ROW%d).
///
/// A byte outside 1..45 lies in no column or row: it gives no value and is
/// not counted; in a tuple it stands as column or row 0.

#include "stats/CustomStatBases.h"
#include "stats/KeyedStat.h"
#include "stats/methods/ChannelMethods.h"

namespace lot {

/// The matrix of one column count.
class TMatrixLayout {
public:
    /// cols outside 1..45 gives no matrix at all.
    explicit TMatrixLayout(int cols);
    /// The layout of the registry's matrix columns.
    static TMatrixLayout Of(const TStatList &list);

    int Cols() const { return m_cols; }
    /// ceil(45 / Cols).
    int Rows() const { return m_rows; }
    const TPlaceTable &ColOf() const { return m_col; }
    const TPlaceTable &RowOf() const { return m_row; }

private:
    uint8_t m_cols = 0;
    uint8_t m_rows = 0;
    TPlaceTable m_col{};
    TPlaceTable m_row{};
};

/// Base of the matrix methods: group 4 and the matrix of the registry.
class TCustomMatrixStat : public TCustomStat {
public:
    TCustomMatrixStat(const TStatList &list, int param);
    static uint8_t Group() { return 4; }
    const TMatrixLayout &Matrix() const { return m_matrix; }

protected:
    const TMatrixLayout m_matrix;
};

/// The graph base of the matrix methods.
class TCustomMatrixGraphStat : public TCustomGraphStat {
public:
    TCustomMatrixGraphStat(const TStatList &list, int param);
    static uint8_t Group() { return 4; }
    const TMatrixLayout &Matrix() const { return m_matrix; }

protected:
    const TMatrixLayout m_matrix;
};

namespace detail {

/// Which of the two places of the matrix a method looks at. The other
/// place tells whether two numbers of one column (row) touch.
enum class TMatrixPlace { Column, Row };

inline const TPlaceTable &PlacesOf(const TMatrixLayout &m, TMatrixPlace place) {
    return place == TMatrixPlace::Column ? m.ColOf() : m.RowOf();
}
inline const TPlaceTable &CrossPlacesOf(const TMatrixLayout &m, TMatrixPlace place) {
    return place == TMatrixPlace::Column ? m.RowOf() : m.ColOf();
}
/// How many places of this kind: columns or rows.
inline int PlaceCount(const TMatrixLayout &m, TMatrixPlace place) {
    return place == TMatrixPlace::Column ? m.Cols() : m.Rows();
}
/// How many numbers one place can hold at most: rows of a column, columns of a row.
inline int PlaceLength(const TMatrixLayout &m, TMatrixPlace place) {
    return place == TMatrixPlace::Column ? m.Rows() : m.Cols();
}

/// The occupied places as a mask, place 1 as the highest of count bits.
inline uint64_t PlaceMask(const TComb &c, const TPlaceTable &places, int count) {
    uint64_t seen = 0; // bit p: place p holds a number
#pragma GCC unroll 6
    for (int i = 0; i < CombSize; ++i)
        seen |= uint64_t(1) << places[c[i]];
    uint64_t mask = 0;
    for (int p = 1; p <= count; ++p)
        mask = mask * 2 + ((seen >> p) & 1);
    return mask;
}

/// One "1" or "0" per place, place 1 first, then " (%.3d)" with the mask.
QString PlaceMaskText(uint64_t mask, int count);
/// The first count characters, a 1 bit for each "1"; the mask's low 32
/// bits, the integer a typed value can give.
int PlaceMaskOfText(const QString &s, int count);

/// The places holding two touching numbers, in order of the first pair
/// found, with their number of touching pairs; returns how many places.
inline int TouchingPlaces(const TComb &c, const TPlaceTable &places, const TPlaceTable &cross,
                          std::array<int, CombSize> &found, std::array<int, CombSize> &pairs) {
    int n = 0;
    for (int i = 0; i < CombSize; ++i)
        for (int j = i + 1; j < CombSize; ++j) {
            const int p = places[c[i]];
            const int a = cross[c[i]], b = cross[c[j]];
            if (p == 0 || places[c[j]] != p || (a - b != 1 && b - a != 1)) continue;
            int k = 0;
            while (k < n && found[size_t(k)] != p)
                ++k;
            if (k == n) {
                if (n == CombSize) continue; // cannot happen: each place holds two of six numbers
                found[size_t(n)] = p;
                pairs[size_t(n++)] = 0;
            }
            ++pairs[size_t(k)];
        }
    return n;
}

} // namespace detail

/// COLS, ROWS: the column (row) of each number.
template <class D, detail::TMatrixPlace Place>
class TMatrixPlacesStat : public TKeyedStat<D, TCustomMatrixStat> {
public:
    using TKeyedStat<D, TCustomMatrixStat>::TKeyedStat;
    static uint8_t Flags() { return sfPrefetch; }
    static constexpr TKeySearch MatchSearch = ksWord1;

    QString ValueToText(const TStatDraw &v) const override { return QString::number(v.Key.W(1)); }
    /// Every column (row).
    void EnumAllValues(int lastIdx, TStatDrawArray &values) override {
        TKeyedStat<D, TCustomMatrixStat>::EnumAllValues(lastIdx, values);
        this->AddListedWords(values, 1, detail::PlaceCount(this->m_matrix, Place));
    }
    int NumberKeysOf(int n, TStatKey *keys) const {
        const int p = n >= 0 && n < 256 ? detail::PlacesOf(this->m_matrix, Place)[size_t(n)] : 0;
        if (p == 0) return 0;
        keys[0] = TStatKey::FromWords(uint16_t(p));
        return 1;
    }
};

class TstColumns final : public TMatrixPlacesStat<TstColumns, detail::TMatrixPlace::Column> {
    LOT_STAT_CLASS(TstColumns)
public:
    using TMatrixPlacesStat::TMatrixPlacesStat;
    static QString CodeFormat() { return QStringLiteral("COLS"); }
    static QString CaptionFormat() { return QStringLiteral("Столбцы матрицы (не пустые)"); }
};

class TstRows final : public TMatrixPlacesStat<TstRows, detail::TMatrixPlace::Row> {
    LOT_STAT_CLASS(TstRows)
public:
    using TMatrixPlacesStat::TMatrixPlacesStat;
    static QString CodeFormat() { return QStringLiteral("ROWS"); }
    static QString CaptionFormat() { return QStringLiteral("Строки матрицы (не пустые)"); }
};

/// COLV, ROWV: for every column (row), how many of the numbers it holds.
template <class D, detail::TMatrixPlace Place>
class TMatrixValuesStat : public TKeyedStat<D, TCustomMatrixStat> {
public:
    using TKeyedStat<D, TCustomMatrixStat>::TKeyedStat;
    static uint8_t Flags() { return sfPrefetch; }
    static constexpr int MaxKeys = NumberCount;

    QString ValueToText(const TStatDraw &v) const override { return detail::PairText(v); }
    /// Counts 0..min(length, 6) of every column (row).
    void EnumAllValues(int lastIdx, TStatDrawArray &values) override {
        TKeyedStat<D, TCustomMatrixStat>::EnumAllValues(lastIdx, values);
        const int most = std::min(detail::PlaceLength(this->m_matrix, Place), CombSize);
        for (int p = 1; p <= detail::PlaceCount(this->m_matrix, Place); ++p)
            for (int count = 0; count <= most; ++count)
                this->AddListed(values, TStatKey::FromWords(uint16_t(p), uint16_t(count)));
    }
    int KeysOf(const TComb &c, TStatKey *keys) const {
        const TPlaceTable &places = detail::PlacesOf(this->m_matrix, Place);
        std::array<uint8_t, NumberCount + 1> counts{};
#pragma GCC unroll 6
        for (int i = 0; i < CombSize; ++i)
            ++counts[places[c[i]]];
        const int n = detail::PlaceCount(this->m_matrix, Place);
        for (int p = 1; p <= n; ++p)
            keys[p - 1] = TStatKey::FromWords(uint16_t(p), counts[size_t(p)]);
        return n;
    }
};

class TstColValues final : public TMatrixValuesStat<TstColValues, detail::TMatrixPlace::Column> {
    LOT_STAT_CLASS(TstColValues)
public:
    using TMatrixValuesStat::TMatrixValuesStat;
    static QString CodeFormat() { return QStringLiteral("COLV"); }
    static QString CaptionFormat() { return QStringLiteral("Количество чисел в столбце матрицы"); }
};

class TstRowValues final : public TMatrixValuesStat<TstRowValues, detail::TMatrixPlace::Row> {
    LOT_STAT_CLASS(TstRowValues)
public:
    using TMatrixValuesStat::TMatrixValuesStat;
    static QString CodeFormat() { return QStringLiteral("ROWV"); }
    static QString CaptionFormat() { return QStringLiteral("Количество чисел в строке матрицы"); }
};

/// COLN, ROWN: how many columns (rows) hold a number.
template <class D, detail::TMatrixPlace Place>
class TMatrixCountStat : public TKeyedStat<D, TCustomMatrixGraphStat> {
public:
    using TKeyedStat<D, TCustomMatrixGraphStat>::TKeyedStat;
    static uint8_t Flags() { return sfPrefetch; }
    static constexpr TKeySearch MatchSearch = ksWord1;
    static constexpr int MaxKeys = 1;

    /// 1..min(count, 6).
    void EnumAllValues(int lastIdx, TStatDrawArray &values) override {
        TKeyedStat<D, TCustomMatrixGraphStat>::EnumAllValues(lastIdx, values);
        this->AddListedWords(values, 1, std::min(detail::PlaceCount(this->m_matrix, Place), CombSize));
    }
    int KeysOf(const TComb &c, TStatKey *keys) const {
        const TPlaceTable &places = detail::PlacesOf(this->m_matrix, Place);
        uint64_t seen = 0;
#pragma GCC unroll 6
        for (int i = 0; i < CombSize; ++i)
            seen |= uint64_t(1) << places[c[i]];
        keys[0] = TStatKey::FromWords(uint16_t(__builtin_popcountll(seen & ~uint64_t(1))));
        return 1;
    }
};

class TstColCount final : public TMatrixCountStat<TstColCount, detail::TMatrixPlace::Column> {
    LOT_STAT_CLASS(TstColCount)
public:
    using TMatrixCountStat::TMatrixCountStat;
    static QString CodeFormat() { return QStringLiteral("COLN"); }
    static QString CaptionFormat() { return QStringLiteral("Количество не пустых столбцов в матрице"); }
};

class TstRowCount final : public TMatrixCountStat<TstRowCount, detail::TMatrixPlace::Row> {
    LOT_STAT_CLASS(TstRowCount)
public:
    using TMatrixCountStat::TMatrixCountStat;
    static QString CodeFormat() { return QStringLiteral("ROWN"); }
    static QString CaptionFormat() { return QStringLiteral("Количество не пустых строк в матрице"); }
};

/// COLM, ROWM: the occupied columns (rows) as a mask, column 1 as the
/// highest bit. The mask is the key's low bits: up to 31 columns that is
/// d1; a matrix of more columns (or rows) goes on into d2 rather than
/// losing its first places.
template <class D, detail::TMatrixPlace Place>
class TMatrixMaskStat : public TKeyedStat<D, TCustomMatrixStat> {
public:
    using TKeyedStat<D, TCustomMatrixStat>::TKeyedStat;
    static uint8_t Flags() { return sfPrefetch; }
    static constexpr int MaxKeys = 1;

    QString ValueToText(const TStatDraw &v) const override {
        return detail::PlaceMaskText(v.Key.Bits(), detail::PlaceCount(this->m_matrix, Place));
    }
    int TextToValue(const QString &s) const override {
        return detail::PlaceMaskOfText(s, detail::PlaceCount(this->m_matrix, Place));
    }
    int KeysOf(const TComb &c, TStatKey *keys) const {
        keys[0] = TStatKey::FromBits(detail::PlaceMask(c, detail::PlacesOf(this->m_matrix, Place),
                                                       detail::PlaceCount(this->m_matrix, Place)));
        return 1;
    }
};

class TstColMask final : public TMatrixMaskStat<TstColMask, detail::TMatrixPlace::Column> {
    LOT_STAT_CLASS(TstColMask)
public:
    using TMatrixMaskStat::TMatrixMaskStat;
    static QString CodeFormat() { return QStringLiteral("COLM"); }
    static QString CaptionFormat() { return QStringLiteral("Сочетания столбцов матрицы"); }
};

class TstRowMask final : public TMatrixMaskStat<TstRowMask, detail::TMatrixPlace::Row> {
    LOT_STAT_CLASS(TstRowMask)
public:
    using TMatrixMaskStat::TMatrixMaskStat;
    static QString CodeFormat() { return QStringLiteral("ROWM"); }
    static QString CaptionFormat() { return QStringLiteral("Сочетания строк матрицы"); }
};

/// COLA, ROWA: every column (row) holding touching numbers, with its number
/// of touching pairs + 1.
template <class D, detail::TMatrixPlace Place>
class TMatrixTouchStat : public TKeyedStat<D, TCustomMatrixStat> {
public:
    using TKeyedStat<D, TCustomMatrixStat>::TKeyedStat;
    static uint8_t Flags() { return sfPrefetch; }
    static constexpr int MaxKeys = CombSize;

    QString ValueToText(const TStatDraw &v) const override { return detail::PairText(v); }
    int KeysOf(const TComb &c, TStatKey *keys) const {
        std::array<int, CombSize> found, pairs;
        const int n = detail::TouchingPlaces(c, detail::PlacesOf(this->m_matrix, Place),
                                             detail::CrossPlacesOf(this->m_matrix, Place), found, pairs);
        for (int i = 0; i < n; ++i)
            keys[i] = TStatKey::FromWords(uint16_t(found[size_t(i)]), uint16_t(pairs[size_t(i)] + 1));
        return n;
    }
};

class TstColAjacent final : public TMatrixTouchStat<TstColAjacent, detail::TMatrixPlace::Column> {
    LOT_STAT_CLASS(TstColAjacent)
public:
    using TMatrixTouchStat::TMatrixTouchStat;
    static QString CodeFormat() { return QStringLiteral("COLA"); }
    static QString CaptionFormat() { return QStringLiteral("Столбцы матрицы со смежными числами"); }
};

class TstRowAjacent final : public TMatrixTouchStat<TstRowAjacent, detail::TMatrixPlace::Row> {
    LOT_STAT_CLASS(TstRowAjacent)
public:
    using TMatrixTouchStat::TMatrixTouchStat;
    static QString CodeFormat() { return QStringLiteral("ROWA"); }
    static QString CaptionFormat() { return QStringLiteral("Строки матрицы со смежными числами"); }
};

/// COLC, ROWC: how many columns (rows) hold touching numbers.
template <class D, detail::TMatrixPlace Place>
class TMatrixTouchCountStat : public TKeyedStat<D, TCustomMatrixGraphStat> {
public:
    using TKeyedStat<D, TCustomMatrixGraphStat>::TKeyedStat;
    static uint8_t Flags() { return sfPrefetch; }
    static constexpr TKeySearch MatchSearch = ksWord1;
    static constexpr int MaxKeys = 1;

    int KeysOf(const TComb &c, TStatKey *keys) const {
        std::array<int, CombSize> found, pairs;
        keys[0] = TStatKey::FromWords(
            uint16_t(detail::TouchingPlaces(c, detail::PlacesOf(this->m_matrix, Place),
                                            detail::CrossPlacesOf(this->m_matrix, Place), found, pairs)));
        return 1;
    }
};

class TstColAjacentCnt final : public TMatrixTouchCountStat<TstColAjacentCnt, detail::TMatrixPlace::Column> {
    LOT_STAT_CLASS(TstColAjacentCnt)
public:
    using TMatrixTouchCountStat::TMatrixTouchCountStat;
    static QString CodeFormat() { return QStringLiteral("COLC"); }
    static QString CaptionFormat() {
        return QStringLiteral("Количество столбцов матрицы со смежными числами");
    }
};

class TstRowAjacentCnt final : public TMatrixTouchCountStat<TstRowAjacentCnt, detail::TMatrixPlace::Row> {
    LOT_STAT_CLASS(TstRowAjacentCnt)
public:
    using TMatrixTouchCountStat::TMatrixTouchCountStat;
    static QString CodeFormat() { return QStringLiteral("ROWC"); }
    static QString CaptionFormat() { return QStringLiteral("Количество строк матрицы со смежными числами"); }
};

/// KFM, KFS, KRM, KRS: the columns (rows) of every tuple (windows false)
/// or run (true) of Size positions.
QString MatrixTupleCaption(detail::TMatrixPlace place, int size, bool windows);

template <class D, detail::TMatrixPlace Place, int Size, bool Windows>
class TMatrixTupleStat : public TPlaceTupleStat<D, TCustomMatrixStat, Size, Windows> {
public:
    using TPlaceTupleStat<D, TCustomMatrixStat, Size, Windows>::TPlaceTupleStat;
    static QString CodeFormat() {
        const char *format = Place == detail::TMatrixPlace::Column ? (Windows ? "KFS%1" : "KFM%1")
                                                                   : (Windows ? "KRS%1" : "KRM%1");
        return QString::fromLatin1(format).arg(Size);
    }
    static QString CaptionFormat() { return MatrixTupleCaption(Place, Size, Windows); }
    const TPlaceTable &Places() const { return detail::PlacesOf(this->m_matrix, Place); }
};

/// KFM2..KFM4: the columns of every pair, triple, quadruple of positions.
class TstCombColMix2 final : public TMatrixTupleStat<TstCombColMix2, detail::TMatrixPlace::Column, 2, false> {
    LOT_STAT_CLASS(TstCombColMix2)
public:
    using TMatrixTupleStat::TMatrixTupleStat;
};

class TstCombColMix3 final : public TMatrixTupleStat<TstCombColMix3, detail::TMatrixPlace::Column, 3, false> {
    LOT_STAT_CLASS(TstCombColMix3)
public:
    using TMatrixTupleStat::TMatrixTupleStat;
};

class TstCombColMix4 final : public TMatrixTupleStat<TstCombColMix4, detail::TMatrixPlace::Column, 4, false> {
    LOT_STAT_CLASS(TstCombColMix4)
public:
    using TMatrixTupleStat::TMatrixTupleStat;
};

/// KFS2..KFS4: the columns of every run of 2, 3, 4 neighbouring positions.
class TstCombColSeq2 final : public TMatrixTupleStat<TstCombColSeq2, detail::TMatrixPlace::Column, 2, true> {
    LOT_STAT_CLASS(TstCombColSeq2)
public:
    using TMatrixTupleStat::TMatrixTupleStat;
};

class TstCombColSeq3 final : public TMatrixTupleStat<TstCombColSeq3, detail::TMatrixPlace::Column, 3, true> {
    LOT_STAT_CLASS(TstCombColSeq3)
public:
    using TMatrixTupleStat::TMatrixTupleStat;
};

class TstCombColSeq4 final : public TMatrixTupleStat<TstCombColSeq4, detail::TMatrixPlace::Column, 4, true> {
    LOT_STAT_CLASS(TstCombColSeq4)
public:
    using TMatrixTupleStat::TMatrixTupleStat;
};

/// KRM2..KRM4: the rows of every pair, triple, quadruple of positions.
class TstCombRowMix2 final : public TMatrixTupleStat<TstCombRowMix2, detail::TMatrixPlace::Row, 2, false> {
    LOT_STAT_CLASS(TstCombRowMix2)
public:
    using TMatrixTupleStat::TMatrixTupleStat;
};

class TstCombRowMix3 final : public TMatrixTupleStat<TstCombRowMix3, detail::TMatrixPlace::Row, 3, false> {
    LOT_STAT_CLASS(TstCombRowMix3)
public:
    using TMatrixTupleStat::TMatrixTupleStat;
};

class TstCombRowMix4 final : public TMatrixTupleStat<TstCombRowMix4, detail::TMatrixPlace::Row, 4, false> {
    LOT_STAT_CLASS(TstCombRowMix4)
public:
    using TMatrixTupleStat::TMatrixTupleStat;
};

/// KRS2..KRS4: the rows of every run of 2, 3, 4 neighbouring positions.
class TstCombRowSeq2 final : public TMatrixTupleStat<TstCombRowSeq2, detail::TMatrixPlace::Row, 2, true> {
    LOT_STAT_CLASS(TstCombRowSeq2)
public:
    using TMatrixTupleStat::TMatrixTupleStat;
};

class TstCombRowSeq3 final : public TMatrixTupleStat<TstCombRowSeq3, detail::TMatrixPlace::Row, 3, true> {
    LOT_STAT_CLASS(TstCombRowSeq3)
public:
    using TMatrixTupleStat::TMatrixTupleStat;
};

class TstCombRowSeq4 final : public TMatrixTupleStat<TstCombRowSeq4, detail::TMatrixPlace::Row, 4, true> {
    LOT_STAT_CLASS(TstCombRowSeq4)
public:
    using TMatrixTupleStat::TMatrixTupleStat;
};

/// COL%d, ROW%d: how many numbers lie in column (row) Param.
template <class D, detail::TMatrixPlace Place>
class TMatrixPlaceCountStat : public TKeyedStat<D, TCustomMatrixGraphStat> {
public:
    using TKeyedStat<D, TCustomMatrixGraphStat>::TKeyedStat;
    static uint8_t Flags() { return sfPrefetch; }
    static bool HasParamRange() { return true; }
    /// Every column (row) of the registry's matrix.
    static TParamRange GetParamRange(const TStatList &list) {
        return {1, detail::PlaceCount(TMatrixLayout::Of(list), Place)};
    }
    static constexpr TKeySearch MatchSearch = ksWord1;
    static constexpr int MaxKeys = 1;

    /// 1..rows of a column; 1..columns of a row.
    void EnumAllValues(int lastIdx, TStatDrawArray &values) override {
        TKeyedStat<D, TCustomMatrixGraphStat>::EnumAllValues(lastIdx, values);
        this->AddListedWords(values, 1, detail::PlaceLength(this->m_matrix, Place));
    }
    int KeysOf(const TComb &c, TStatKey *keys) const {
        const TPlaceTable &places = detail::PlacesOf(this->m_matrix, Place);
        int count = 0;
#pragma GCC unroll 6
        for (int i = 0; i < CombSize; ++i)
            count += places[c[i]] == m_target;
        keys[0] = TStatKey::FromWords(uint16_t(count));
        return 1;
    }

private:
    /// Param when it names a column (row); otherwise one no number lies in.
    const int m_target =
        this->m_param >= 1 && this->m_param <= detail::PlaceCount(this->m_matrix, Place) ? this->m_param : -1;
};

class TstColValCnt final : public TMatrixPlaceCountStat<TstColValCnt, detail::TMatrixPlace::Column> {
    LOT_STAT_CLASS(TstColValCnt)
public:
    using TMatrixPlaceCountStat::TMatrixPlaceCountStat;
    static QString CodeFormat() { return QStringLiteral("COL%d"); }
    static QString CaptionFormat() { return QStringLiteral("Количество чисел в %0:d столбце матрицы"); }
    static QString HelpTopicFormat() { return QStringLiteral("COLx"); }
};

class TstRowValCnt final : public TMatrixPlaceCountStat<TstRowValCnt, detail::TMatrixPlace::Row> {
    LOT_STAT_CLASS(TstRowValCnt)
public:
    using TMatrixPlaceCountStat::TMatrixPlaceCountStat;
    static QString CodeFormat() { return QStringLiteral("ROW%d"); }
    static QString CaptionFormat() { return QStringLiteral("Количество чисел в %0:d строке матрицы"); }
    static QString HelpTopicFormat() { return QStringLiteral("ROWx"); }
};

} // namespace lot
