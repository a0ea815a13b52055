#pragma once
/// @file Pulling values out of a results page by their markers: the text
/// between two markers, the same while walking a list, and the segments
/// between occurrences of one marker. Markers match without regard to case.

#include <QString>

namespace lot {

/// What TextBetween does when the start marker is found but not the end one.
enum class TBetweenMode {
    Raise = 0,    ///< raise "Не удалось найти пару идентификаторов ..."
    Empty = 1,    ///< give empty text
    ToTheEnd = 2, ///< take everything after the start marker
};

/// The text between the first start marker and the end marker after it,
/// trimmed and unquoted (see Unquote). No start marker: empty text, nothing
/// raised. No end marker: as mode says.
QString TextBetween(const QString &text, const QString &start, const QString &end, TBetweenMode mode);

/// TextBetween, then everything up to and including the end marker is cut
/// from text, so that repeated calls walk through a list. When the end
/// marker is missing (modes Empty and ToTheEnd) the rest of the text is
/// used up; when the start marker is missing text stays as it is.
QString CutBetween(QString &text, const QString &start, const QString &end, TBetweenMode mode);

/// The text from just after the first marker up to its next occurrence (or
/// the end), trimmed and unquoted; text is cut to begin at that next marker
/// (empty when there is none). An empty result means no more markers.
QString CutSegment(QString &text, const QString &marker);

/// A text that starts and ends with a double quote loses both, and every
/// other double quote that does not follow a double quote: a doubled quote
/// becomes one.
QString Unquote(const QString &text);

} // namespace lot
