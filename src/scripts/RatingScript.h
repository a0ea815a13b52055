#pragma once
/// @file A rating row back into a script line: the comment of a script
/// stake is "NN.VVV: comment @ OPTIONS + FILTER + ...", which turns into the
/// line "OPTIONS|FILTER|...| | |comment".

#include <QString>

namespace lot {

class TStatList;

/// The script line of a rating comment: the text before the first "@"
/// (trimmed) becomes the line's comment and the text after it (trimmed)
/// the fields; every " + " becomes "|"; "| " is appended while there are
/// at most 7 non-empty fields; then "|" and the comment.
QString RatingToScriptLine(const QString &comment);
/// Whether line can join a script: its options word describes a list mode
/// and at least one of its seven filter fields gives a filter.
bool IsRatingScriptLine(const TStatList &list, const QString &line);

} // namespace lot
