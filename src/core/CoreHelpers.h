#pragma once
/// @file Pure helpers on the core records: text forms, dates, number
/// geometry, membership, sorting, byte lists, counting and integer lists.

#include "core/Lottery.h"

#include <array>
#include <QByteArray>
#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>

namespace lot {

// ---- text forms -----------------------------------------------------------
QString CombToText(const TComb &c);       ///< "3;11;17;25;40;44"
QString CombToSpacedText(const TComb &c); ///< "03 11 17 25 40 44"
/// Splits on tab, blank , - . : ; | ; raises EError
/// "Некорректная комбинация: \"%s\"!" unless exactly six words.
/// A word that is not an integer in 0..255 becomes 0 (never a valid number).
TComb TextToComb(const QString &text);
/// True when all six numbers lie in 1..45 (TextToComb and files may give others).
bool IsValidComb(const TComb &c);
QString NumberSetToText(const TNumberSet &s, const QString &separator);
QString DrawDateText(const TDrawRec &d);                ///< the stored date text
void SetDrawDateText(TDrawRec &d, const QString &text); ///< cut to 11 characters
QString DrawValuesText(const TDrawRec &d);              ///< "3;11;17;25;40;44 e:7;29"
QString DrawToText(const TDrawRec &d);                  ///< "Тираж № %d от %s, значения: %s"
QString StakeKindName(int kind);
TNumberSet CombToNumberSet(const TComb &c);
TComb DrawToComb(const TDrawRec &d);

// ---- dates ----------------------------------------------------------------
QString DateToDrawText(const QDate &date); ///< "5 Dec 2026"; invalid date -> ""
/// Trimmed text; empty gives a null QDate; a bad month or impossible date
/// raises EConvertError.
QDate DrawTextToDate(const QString &text);
int32_t DateToInt(const QDate &date); ///< yyyymmdd
QDate IntToDate(int32_t v);

// ---- number geometry ------------------------------------------------------
/// ceil(n / w); 0 for a width below 1.
int NumberGroup(int n, int w);
/// Group colour of number n for group width w as 0xFFRRGGBB (a QRgb for the
/// views): palette groups 1..19, groups 20..38 wrap once; pure red for a
/// number outside 1..45, a width below 1 or any other group. The engine does
/// not link QtGui, hence a plain RGB value rather than a QColor.
uint32_t GroupColourRgb(int n, int w);
inline uint32_t GroupColour(int n, int w) {
    return GroupColourRgb(n, w);
}
/// Cyclic shift on 1..45 with one wrap (|k| < 45 is the caller's duty).
int ShiftNumber(int n, int k);
/// Shifts each number in place; the result is not re-sorted.
TComb ShiftComb(const TComb &c, int k);
/// Matrix of `cols` columns filled row by row from 1; row and column are
/// 1-based here, zero-based in MatrixNumber. A width below 1 gives 0.
int MatrixColumn(int n, int cols);
int MatrixRow(int n, int cols);
int MatrixNumber(int row, int col, int cols);
int MatrixRows(int cols);

// ---- membership and comparison -------------------------------------------
/// Shared main numbers (pairs of equal numbers); supplementary numbers do
/// not take part. Runs over the full set: no allocation.
int CountOverlaps(const TDrawRec &draw, const TComb &comb);
int CountDrawOverlaps(const TDrawRec &a, const TDrawRec &b);
bool InDraw(int n, const TDrawRec &draw);
bool InComb(int n, const TComb &comb);
bool InGroupOfDraw(int g, const TDrawRec &draw, int w);
/// map: 45 digits, map[0] is the digit of number 1.
bool InSegmentOfDraw(int s, const TDrawRec &draw, const std::array<uint8_t, NumberCount> &map);
/// Main numbers of the draw found in the set, sorted ascending.
TNumberSet IntersectDraw(const TDrawRec &draw, const TNumberSet &set);
/// Equal counts and every number of a found in b. Counts outside 0..8 in
/// number sets are read as clamped to 0..8 everywhere.
bool SameNumberSet(const TNumberSet &a, const TNumberSet &b);

// ---- sorting ----------------------------------------------------------------
void SortComb(TComb &c);
TDrawRec SortDrawNumbers(const TDrawRec &d); ///< a copy with the six main numbers ascending
void SortNumberSet(TNumberSet &s);
void SortIntsDescending(QList<int> &values);

// ---- byte lists ---------------------------------------------------------------
void AddNumber(QByteArray &list, int n);
void AddNumberOnce(QByteArray &list, int n);
/// Distinct numbers 1..45 in order of first appearance, stopping at 45;
/// bytes outside 1..45 are not numbers of the game and are skipped.
QByteArray UniqueNumbers(const TComb *combs, qsizetype count);
int CountUniqueNumbers(const TComb *combs, qsizetype count);

// ---- counting -----------------------------------------------------------------
/// n! / ((n - k)! k!) in extended precision, rounded; k >= n gives 1 and a
/// negative k gives 0. Results beyond int64 saturate.
int64_t Binomial(int n, int k);
/// d-number combinations out of n sharing exactly k numbers with one fixed
/// d-number draw: C(d, k) * C(n - d, d - k); k >= n gives 1, impossible
/// cases give 0.
int64_t ExactMatchCount(int n, int d, int k);

// ---- integer lists --------------------------------------------------------------
/// "5", "1, 2, 3" or "1-10;2"; never raises, an unusable text gives an empty
/// list. A range of more than 100000 values is treated as unusable.
QList<int> ParseIntList(const QString &text);
QString IntListToText(const QList<int> &values, const QString &separator);

// ---- segment maps ---------------------------------------------------------------
using TSegmentMap = std::array<uint8_t, NumberCount>;
QString SegmentMapToText(const TSegmentMap &map);
/// Character i gives the digit of number i + 1; a non-digit or a missing
/// character gives 1.
TSegmentMap TextToSegmentMap(const QString &text);

} // namespace lot
