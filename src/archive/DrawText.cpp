#include "archive/DrawText.h"

#include <QRegularExpression>
#include <QStringList>

namespace lot {

namespace {

int WordValue(const QString &word) {
    bool ok = false;
    const int value = word.trimmed().toInt(&ok, 10);
    return ok ? value : 0;
}

} // namespace

bool ParseDrawNumbersText(const QString &text, TDrawRec &draw) {
    static const QRegularExpression separators(QStringLiteral("[,;]"));
    const QStringList words = text.split(separators);
    if (words.size() != CombSize + ExtraCount) return false;

    int values[CombSize + ExtraCount];
    for (int i = 0; i < CombSize + ExtraCount; ++i) {
        values[i] = WordValue(words[i]);
        if (!IsValidNumber(values[i])) return false;
    }
    for (int i = 0; i < CombSize; ++i)
        for (int j = i + 1; j < CombSize; ++j)
            if (values[i] == values[j]) return false;

    for (int i = 0; i < CombSize; ++i)
        draw.Numbers[i] = uint8_t(values[i]);
    for (int i = 0; i < ExtraCount; ++i)
        draw.Extra[i] = uint8_t(values[CombSize + i]);
    return true;
}

QString DrawNumbersToEditText(const TDrawRec &draw) {
    QString text;
    for (uint8_t n : draw.Numbers)
        text += QString::number(n) + u';';
    text += QString::number(draw.Extra[0]) + u';' + QString::number(draw.Extra[1]);
    return text;
}

} // namespace lot
