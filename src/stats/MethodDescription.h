#pragma once
/// @file The description page of a registry entry: its caption, code,
/// group, flags in words, parameter range, what its value is, how its key
/// is formed, which values it lists, when a combination matches, and a
/// paragraph about its group. Shown by the description window (as HTML)
/// and by the command line's "describe" (as plain text).

#include <QList>
#include <QString>

namespace lot {

class TStatList;

/// One heading of the page with its text.
struct TDescriptionSection {
    QString Heading;
    QString Text;
};

struct TMethodDescription {
    QString Title; ///< the entry's caption
    QList<TDescriptionSection> Sections;

    /// A page for a text browser; the texts are escaped.
    QString ToHtml() const;
    /// Headings followed by their texts, a blank line between sections, LF
    /// line ends.
    QString ToPlainText() const;
};

/// The page of registry entry `entry` (the caller checks the index). The
/// listed values are those the method lists for the newest draw.
TMethodDescription DescribeMethod(const TStatList &registry, int entry);

/// The flags of a flag byte (with sfGraph) in words, one per flag, in the
/// order S, N, D, P, G.
QStringList FlagWords(uint8_t fullFlags);

/// Values listed as "a, b, c" up to twelve, longer lists as the first five,
/// "…", the last two and the count.
QString ListedValuesText(const QStringList &values);

} // namespace lot
