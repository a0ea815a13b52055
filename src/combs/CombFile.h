#pragma once
/// @file Combination files (".lcv"), the clipboard text of combinations and
/// the raw combination buffer file.
///
/// Every list the program holds keeps the numbers of each combination in
/// 1..45: readers of outside input skip or reject anything else, so no
/// per-number table downstream is ever indexed with a stray byte.

#include "core/Lottery.h"

#include <cstdint>
#include <functional>
#include <QString>

namespace lot {

/// Largest list accepted from outside (file, clipboard, buffer). Twice the
/// full set leaves room for lists with repeated combinations while keeping a
/// hostile file from exhausting memory.
inline constexpr int MaxCombsListSize = 2 * FullSetSize;

/// A line of a combination file longer than this cannot hold six sensible
/// numbers; it is skipped without being read into memory.
inline constexpr int MaxCombsLineLength = 1024;

/// File dialog filter and default extension of combination files.
inline constexpr const char *CombsFileFilter = "Файлы комбинаций (*.lcv)|*.lcv";
inline constexpr const char *CombsFileExtension = "lcv";

/// What a combination file held.
struct TCombFileReadInfo {
    int64_t Lines = 0;         ///< lines seen
    int Loaded = 0;            ///< combinations appended
    int SkippedMalformed = 0;  ///< empty, overlong, or not six words (skipped as the format says)
    int SkippedBadNumbers = 0; ///< six words, but one of them is not a number 1..45
};

/// Outcome of reading one line.
enum class TCombLineKind { Combination, Malformed, BadNumbers };

/// Parses one line of a combination file: six words split on "," and ";",
/// each trimmed and read as a decimal integer, kept in the given order.
TCombLineKind ParseCombLine(const char *text, qsizetype length, TComb &comb);

/// Appends the combinations of a combination file to dest from index count
/// on, growing dest when it is full (never shrinking it); count follows every
/// combination, so what was read before an error stays. Raises EError with
/// the system's message when the file cannot be read or holds more than
/// MaxCombsListSize combinations.
void ReadCombsFile(const QString &fileName, TCombsArray &dest, int &count, TCombFileReadInfo &info);

/// Writes combinations as a combination file (CombToText lines, CR LF) through
/// a temporary file renamed over the target; raises EError with the system's
/// message on failure, leaving any old file untouched.
void WriteCombsFile(const QString &fileName, const TComb *combs, int count);

/// Parses clipboard text into dest from index 0, one combination per line
/// (TextToComb). Raises EError "Некорректная комбинация: \"%s\"!" naming the
/// first line that is not six numbers 1..45; count holds the lines parsed
/// before it. An empty text gives count 0.
void ParseCombsText(const QString &text, TCombsArray &dest, int &count);

/// Clipboard text of combinations: CombToSpacedText, one per line, each line
/// ended by CR LF.
QString CombsToText(const TComb *combs, int count);

/// Grows a list array to hold at least n combinations (geometrically, up to
/// MaxCombsListSize when that suffices); never shrinks it.
void EnsureCombsCapacity(TCombsArray &combs, qsizetype n);

/// Raw buffer file: a headerless sequence of 6-byte combinations. progress
/// gets the number of combinations done about a hundred times.
void WriteCombsBuffer(const QString &fileName, const TComb *combs, int count,
                      const std::function<void(int done)> &progress);
/// Reads a buffer file into dest from index 0 (count = file size div 6).
/// Raises EError when the file cannot be read, is larger than
/// MaxCombsListSize combinations, or holds a number outside 1..45.
void ReadCombsBuffer(const QString &fileName, TCombsArray &dest, int &count,
                     const std::function<void(int done, int total)> &progress);

} // namespace lot
