#include "download/TextExtract.h"

#include "core/Errors.h"
#include "core/Format.h"

namespace lot {

namespace {

/// The searched text as an error message shows it: a whole page would make
/// an unreadable box, so only its start is quoted.
QString Excerpt(const QString &text) {
    constexpr qsizetype Shown = 300;
    return text.size() <= Shown ? text : text.left(Shown) + QStringLiteral("...");
}

/// Where the text between the markers starts and ends; false when the
/// start marker is missing. end is -1 when the end marker is missing.
bool Locate(const QString &text, const QString &start, const QString &end, qsizetype &from, qsizetype &to) {
    const qsizetype s = text.indexOf(start, 0, Qt::CaseInsensitive);
    if (s < 0) return false;
    from = s + start.size();
    to = text.indexOf(end, from, Qt::CaseInsensitive);
    return true;
}

} // namespace

QString Unquote(const QString &text) {
    if (text.size() < 2 || !text.startsWith(QLatin1Char('"')) || !text.endsWith(QLatin1Char('"')))
        return text;
    const QString inner = text.mid(1, text.size() - 2);
    QString out;
    out.reserve(inner.size());
    for (qsizetype i = 0; i < inner.size(); ++i) {
        if (inner[i] == QLatin1Char('"') && (i == 0 || inner[i - 1] != QLatin1Char('"'))) continue;
        out += inner[i];
    }
    return out;
}

static QString Between(const QString &text, const QString &start, const QString &end, TBetweenMode mode,
                       qsizetype *consumed) {
    qsizetype from = 0, to = -1;
    if (!Locate(text, start, end, from, to)) {
        if (consumed) *consumed = 0;
        return {};
    }
    QString result;
    if (to >= 0) {
        result = text.mid(from, to - from);
        if (consumed) *consumed = to + end.size();
    } else {
        switch (mode) {
        case TBetweenMode::Raise:
            throw EError(Format(QStringLiteral("Не удалось найти пару идентификаторов \"%1:s\" - \"%2:s\" в "
                                               "тексте\r\r[%0:s]!"),
                                {Excerpt(text), start, end}));
        case TBetweenMode::Empty:
            break;
        case TBetweenMode::ToTheEnd:
            result = text.mid(from);
            break;
        }
        if (consumed) *consumed = text.size();
    }
    return Unquote(result.trimmed());
}

QString TextBetween(const QString &text, const QString &start, const QString &end, TBetweenMode mode) {
    return Between(text, start, end, mode, nullptr);
}

QString CutBetween(QString &text, const QString &start, const QString &end, TBetweenMode mode) {
    qsizetype consumed = 0;
    const QString result = Between(text, start, end, mode, &consumed);
    text.remove(0, consumed);
    return result;
}

QString CutSegment(QString &text, const QString &marker) {
    const qsizetype first = text.indexOf(marker, 0, Qt::CaseInsensitive);
    if (first < 0 || marker.isEmpty()) {
        text.clear();
        return {};
    }
    const qsizetype from = first + marker.size();
    const qsizetype next = text.indexOf(marker, from, Qt::CaseInsensitive);
    const QString segment = Unquote(text.mid(from, next < 0 ? -1 : next - from).trimmed());
    if (next < 0)
        text.clear();
    else
        text.remove(0, next);
    return segment;
}

} // namespace lot
