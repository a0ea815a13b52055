#include "scripts/ScriptLine.h"

#include "core/Format.h"
#include "filters/Filter.h"
#include "filters/FilterText.h"

#include <limits>

namespace lot {

namespace {

struct TEntryText {
    const char *Code;
    const char *Caption;
    const char *Short;
};

const TEntryText Sources[ScriptSourceCount] = {
    {"FULL", "Исходный список (рекомендуется для тестов)", "Исходный список"},
    {"EXCL", "Удалить N последних тиражей (для прогнозов)", "Исключить %d тиражей"},
    {"CURR", "Текущий список (для последовательного выполнения)", "Текущий список"},
};

const TEntryText StakeModes[ScriptStakeModeCount] = {
    {"RAND", "Выбрать одну случайную комбинацию", "Случайно"},
    {"FIRST", "Выбрать первую комбинацию в списке", "Первая"},
    {"LAST", "Выбрать последнюю комбинацию в списке", "Последняя"},
    {"ALL", "Выбрать все комбинации (не рекомендуется)", "Все"},
    {"SYSA", "Системная игра [вся система]", "Система [все]"},
    {"SYSC", "Системная игра [система * комбинации]", "Система [комб]"},
    {"STOP", "Остановить выполнение сценария", "Остановить"},
    {"SKIP", "Пропустить (игнорировать) эту ставку", "Пропустить"},
    {"NONE", "Не делать ставок (для последовательного выполнения)", "Не делать ставок"},
};

constexpr QChar FieldSeparator('|');
constexpr QChar OptionSeparator('#');

template <int N> const TEntryText *Entry(const TEntryText (&table)[N], int index) {
    return index >= 0 && index < N ? &table[index] : nullptr;
}

QString CodeOf(const TEntryText *e) {
    return e ? QString::fromUtf8(e->Code) : QString();
}

QString CaptionOf(const TEntryText *e, bool shortCaption) {
    return QString::fromUtf8(e ? (shortCaption ? e->Short : e->Caption) : FilterCaptionError);
}

/// The part after the first ":" as a count of draws; 0 when there is none,
/// it is no integer or it lies outside 0..2147483647.
int32_t DrawsAfterColon(const QString &word) {
    const qsizetype colon = word.indexOf(QLatin1Char(':'));
    if (colon < 0) return 0;
    bool ok = false;
    const qlonglong v = word.mid(colon + 1).trimmed().toLongLong(&ok);
    if (!ok || v < 0 || v > std::numeric_limits<int32_t>::max()) return 0;
    return int32_t(v);
}

QString Field(const QStringList &fields, int i) {
    return i >= 0 && i < fields.size() ? fields[i] : QString();
}

} // namespace

QString ScriptSourceCode(int index) {
    return CodeOf(Entry(Sources, index));
}

QString ScriptSourceCaption(int index) {
    return CaptionOf(Entry(Sources, index), false);
}

QString ScriptSourceShortCaption(int index) {
    return CaptionOf(Entry(Sources, index), true);
}

QString ScriptStakeModeCode(int index) {
    return CodeOf(Entry(StakeModes, index));
}

QString ScriptStakeModeCaption(int index) {
    return CaptionOf(Entry(StakeModes, index), false);
}

QString ScriptStakeModeShortCaption(int index) {
    return CaptionOf(Entry(StakeModes, index), true);
}

// ---- the line grammar ------------------------------------------------------------------------

QStringList ScriptLineFields(const QString &line) {
    QStringList fields = SplitFilterWords(line, FieldSeparator);
    for (QString &f : fields)
        f = f.trimmed();
    return fields;
}

QString LineOptions(const QString &line) {
    return Field(ScriptLineFields(line), 0);
}

QString LineFilter(const QString &line, int slot) {
    if (slot < 1 || slot > FilterSlotCount) return {};
    return Field(ScriptLineFields(line), slot);
}

QString LineComments(const QString &line) {
    return Field(ScriptLineFields(line), ScriptFieldCount - 1);
}

QString JoinScriptLine(const QString &options, const QStringList &filters, const QString &comment) {
    QString line = options;
    line += FieldSeparator;
    for (int slot = 0; slot < FilterSlotCount; ++slot) {
        const QString text = slot < filters.size() ? filters[slot] : QString();
        // An empty slot must keep its place: runs of "|" read as one.
        line += text.trimmed().isEmpty() ? QStringLiteral(" ") : text;
        line += FieldSeparator;
    }
    if (!comment.trimmed().isEmpty()) line += comment;
    return line;
}

bool IsScriptSeparator(const QString &line) {
    return line.trimmed().isEmpty();
}

// ---- the options word -------------------------------------------------------------------------

QString OptionsToText(const TScriptOptions &o) {
    QString text = ScriptSourceCode(o.Source) + QLatin1Char(':') + QString::number(o.DrawsExclude) +
                   OptionSeparator + ScriptStakeModeCode(o.StakeMode);
    if (o.ClearStakes) text += QStringLiteral("#CLR");
    if (o.NewOnly) text += QStringLiteral("#NEX");
    return text;
}

QString OptionsToShortText(const TScriptOptions &o) {
    QString text = ScriptSourceCode(o.Source);
    if (o.Source == srcExcl) text += QLatin1Char(':') + QString::number(o.DrawsExclude);
    text += OptionSeparator + ScriptStakeModeCode(o.StakeMode);
    if (o.NewOnly) text += QStringLiteral("#NEX");
    return text;
}

TScriptOptions TextToOptions(const QString &text) {
    TScriptOptions o;
    const QStringList words = SplitFilterWords(text, OptionSeparator);
    if (words.isEmpty()) return o;

    const QString source = words[0].trimmed();
    for (int i = 0; i < ScriptSourceCount; ++i) {
        if (source.startsWith(ScriptSourceCode(i), Qt::CaseInsensitive)) {
            o.Source = uint8_t(i);
            break;
        }
    }
    o.DrawsExclude = DrawsAfterColon(source);

    if (words.size() > 1) {
        const QString mode = words[1].trimmed();
        for (int i = 0; i < ScriptStakeModeCount; ++i) {
            if (mode.compare(ScriptStakeModeCode(i), Qt::CaseInsensitive) == 0) {
                o.StakeMode = uint8_t(i);
                break;
            }
        }
    }
    for (qsizetype i = 2; i < words.size(); ++i) {
        const QString flag = words[i].trimmed();
        if (flag.compare(QLatin1String("CLR"), Qt::CaseInsensitive) == 0) o.ClearStakes = true;
        if (flag.compare(QLatin1String("NEX"), Qt::CaseInsensitive) == 0) o.NewOnly = true;
    }
    return o;
}

QString OptionsCaption(const TScriptOptions &o) {
    QString text = o.Source == srcExcl ? Format(ScriptSourceShortCaption(o.Source), {o.DrawsExclude})
                                       : ScriptSourceShortCaption(o.Source);
    text += QStringLiteral("; ") + ScriptStakeModeShortCaption(o.StakeMode);
    if (o.ClearStakes) text += QStringLiteral("; Удалить ставки");
    text += o.NewOnly ? QStringLiteral("; Только новые ставки") : QStringLiteral("; Все создаваемые ставки");
    return text;
}

} // namespace lot
