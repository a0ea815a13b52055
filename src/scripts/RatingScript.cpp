#include "scripts/RatingScript.h"

#include "filters/FilterText.h"
#include "scripts/ScriptLine.h"

#include <QStringList>

namespace lot {

QString RatingToScriptLine(const QString &comment) {
    QString t = comment;
    QString lineComment;
    const qsizetype at = t.indexOf(QLatin1Char('@'));
    if (at >= 0) {
        lineComment = t.left(at).trimmed();
        t = t.mid(at + 1).trimmed();
    }
    t.replace(QStringLiteral(" + "), QStringLiteral("|"));
    while (t.split(QLatin1Char('|'), Qt::SkipEmptyParts).size() <= 7)
        t += QStringLiteral("| ");
    return t + QLatin1Char('|') + lineComment;
}

bool IsRatingScriptLine(const TStatList &list, const QString &line) {
    if (LineOptions(line).isEmpty() || OptionsCaption(TextToOptions(LineOptions(line))).isEmpty())
        return false;
    for (int slot = 1; slot <= 7; ++slot)
        if (TextToFilter(list, LineFilter(line, slot)).Enabled) return true;
    return false;
}

} // namespace lot
