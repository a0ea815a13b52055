#pragma once
/// @file Pure helpers on the core records: text forms, dates, number
/// geometry, membership, sorting, byte lists, counting and integer lists.

#include "core/Lottery.h"

#include <QByteArray>
#include <QColor>
#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>
#include <array>

namespace lot {

// ---- text forms -----------------------------------------------------------
QString CombToText(const TComb &c);         ///< "3;11;17;25;40;44"
QString CombToSpacedText(const TComb &c);   ///< "03 11 17 25 40 44"
/// Splits on tab, blank , - . : ; | ; raises EError
/// "Некорректная комбинация: \"%s\"!" unless exactly six words.
TComb TextToComb(const QString &text);
QString NumberSetToText(const TNumberSet &s, const QString &separator);
QString DrawDateText(const TDrawRec &d);              ///< the stored date text
void SetDrawDateText(TDrawRec &d, const QString &text); ///< cut to 11 characters
QString DrawValuesText(const TDrawRec &d);            ///< "3;11;17;25;40;44 e:7;29"
QString DrawToText(const TDrawRec &d);                ///< "Тираж № %d от %s, значения: %s"
QString StakeKindName(int kind);
TNumberSet CombToNumberSet(const TComb &c);
TComb DrawToComb(const TDrawRec &d);

// ---- dates ----------------------------------------------------------------
QString DateToDrawText(const QDate &date);   ///< "5 Dec 2026"; invalid date -> ""
/// Trimmed text; empty gives a null QDate; a bad month or impossible date
/// raises EConvertError.
QDate DrawTextToDate(const QString &text);
int32_t DateToInt(const QDate &date);        ///< yyyymmdd
QDate IntToDate(int32_t v);

// ---- number geometry ------------------------------------------------------
int NumberGroup(int n, int w);
QColor GroupColour(int n, int w);
QRgb GroupColourRgb(int n, int w);
int ShiftNumber(int n, int k);
TComb ShiftComb(const TComb &c, int k);
int MatrixColumn(int n, int cols);
int MatrixRow(int n, int cols);
int MatrixNumber(int row, int col, int cols);
int MatrixRows(int cols);

// ---- membership and comparison -------------------------------------------
int CountOverlaps(const TDrawRec &draw, const TComb &comb);
int CountDrawOverlaps(const TDrawRec &a, const TDrawRec &b);
bool InDraw(int n, const TDrawRec &draw);
bool InComb(int n, const TComb &comb);
bool InGroupOfDraw(int g, const TDrawRec &draw, int w);
/// map: 45 digits, map[0] is the digit of number 1.
bool InSegmentOfDraw(int s, const TDrawRec &draw, const std::array<uint8_t, NumberCount> &map);
TNumberSet IntersectDraw(const TDrawRec &draw, const TNumberSet &set);
bool SameNumberSet(const TNumberSet &a, const TNumberSet &b);

// ---- sorting ----------------------------------------------------------------
void SortComb(TComb &c);
TDrawRec SortDrawNumbers(const TDrawRec &d);   ///< a copy with the six main numbers ascending
void SortNumberSet(TNumberSet &s);
void SortIntsDescending(QList<int> &values);

// ---- byte lists ---------------------------------------------------------------
void AddNumber(QByteArray &list, int n);
void AddNumberOnce(QByteArray &list, int n);
QByteArray UniqueNumbers(const TComb *combs, qsizetype count);
int CountUniqueNumbers(const TComb *combs, qsizetype count);

// ---- counting -----------------------------------------------------------------
int64_t Binomial(int n, int k);
int64_t ExactMatchCount(int n, int d, int k);

// ---- integer lists --------------------------------------------------------------
QList<int> ParseIntList(const QString &text);   ///< never raises
QString IntListToText(const QList<int> &values, const QString &separator);

// ---- segment maps ---------------------------------------------------------------
using TSegmentMap = std::array<uint8_t, NumberCount>;
QString SegmentMapToText(const TSegmentMap &map);
TSegmentMap TextToSegmentMap(const QString &text);

} // namespace lot
