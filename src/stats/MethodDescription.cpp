#include "stats/MethodDescription.h"

#include "stats/CustomStat.h"
#include "stats/MethodNotes.h"
#include "stats/StatList.h"
#include "stats/StatValues.h"

namespace lot {

namespace {

QString WithParam(const char *text, int param) {
    QString s = QString::fromUtf8(text ? text : "");
    return s.replace(QStringLiteral("%p"), QString::number(param));
}

QString ParamText(const TStatList &registry, const TStatMethod &m) {
    const TStatClass &c = *m.StatClass;
    if (!c.HasParamRange()) return QStringLiteral("нет");
    const TParamRange range = c.GetParamRange(registry);
    return QStringLiteral("%1 (метод зарегистрирован для значений %2–%3)")
        .arg(m.Param)
        .arg(range.Min)
        .arg(range.Max);
}

QStringList ListedValues(const TStatList &registry, int entry) {
    std::unique_ptr<TCustomStat> stat = registry.CreateStat(entry);
    TStatDrawArray values;
    const int lastIdx = int(registry.DrawsArray().size()) - 1;
    stat->EnumAllValues(lastIdx, values);
    QStringList texts;
    for (const TStatDraw &v : values)
        texts << stat->ValueToText(v);
    return texts;
}

} // namespace

QStringList FlagWords(uint8_t fullFlags) {
    QStringList words;
    if (fullFlags & sfOrdered)
        words << QStringLiteral(
            "S — значение зависит от порядка чисел в тираже: для тиражей в порядке выпадения и "
            "упорядоченных по возрастанию результаты разные");
    if (fullFlags & sfPrefetch)
        words << QStringLiteral("N — строится распределение значений по полному набору комбинаций, и тиражи "
                                "сравниваются с ним");
    if (fullFlags & sfDynamic)
        words << QStringLiteral(
            "D — динамический: значение комбинации зависит от опорного тиража (последнего "
            "тиража выборки, а при фильтрации — последнего используемого тиража)");
    if (fullFlags & sfPeriod) words << QStringLiteral("P — значение есть период между появлениями");
    if (fullFlags & sfGraph) words << QStringLiteral("G — у метода есть график значений");
    return words;
}

QString ListedValuesText(const QStringList &values) {
    if (values.isEmpty())
        return QStringLiteral(
            "Не перечисляются: в таблице статистики только значения, встретившиеся в тиражах.");
    if (values.size() <= 12)
        return values.join(QStringLiteral(", ")) + QStringLiteral(" (всего %1)").arg(values.size());
    return values.mid(0, 5).join(QStringLiteral(", ")) + QStringLiteral(", …, ") +
           values.mid(values.size() - 2).join(QStringLiteral(", ")) +
           QStringLiteral(" (всего %1)").arg(values.size());
}

TMethodDescription DescribeMethod(const TStatList &registry, int entry) {
    const TStatMethod &m = registry.Items(entry);
    const TStatClass &c = *m.StatClass;
    TMethodDescription page;
    page.Title = registry.EntryCaption(entry);

    QString about =
        QStringLiteral("Код: %1\nГруппа: %2").arg(registry.EntryCode(entry), GroupHeading(c.Group()));
    if (!m.CustomCaption.isEmpty()) about += QStringLiteral("\nНазвание метода: %1").arg(c.Caption(m.Param));
    about += QStringLiteral("\nПараметр: %1").arg(ParamText(registry, m));
    page.Sections.append({QString(), about});

    const QStringList flags = FlagWords(c.FullFlags());
    page.Sections.append({QStringLiteral("Особенности"),
                          flags.isEmpty() ? QStringLiteral("нет") : flags.join(QLatin1Char('\n'))});

    const TMethodNotes *notes = FindMethodNotes(c.ClassName());
    const QString none = QStringLiteral("Описание не составлено.");
    page.Sections.append({QStringLiteral("Значение"), notes ? WithParam(notes->Value, m.Param) : none});
    page.Sections.append({QStringLiteral("Ключ значения"), notes ? WithParam(notes->Key, m.Param) : none});
    page.Sections.append(
        {QStringLiteral("Перечисляемые значения"), ListedValuesText(ListedValues(registry, entry))});
    QString matches = notes ? WithParam(notes->Matches, m.Param) : none;
    matches += c.AllowsValueList()
                   ? QStringLiteral("\nЗначения фильтра можно задать списком.")
                   : QStringLiteral("\nЗначения фильтра выбираются только в таблице статистики.");
    page.Sections.append({QStringLiteral("Совпадение комбинации"), matches});
    page.Sections.append({QStringLiteral("О группе методов"), GroupNotes(c.Group())});
    return page;
}

QString TMethodDescription::ToHtml() const {
    QString html = QStringLiteral("<html><body><h2>%1</h2>").arg(Title.toHtmlEscaped());
    for (const TDescriptionSection &s : Sections) {
        if (!s.Heading.isEmpty()) html += QStringLiteral("<h3>%1</h3>").arg(s.Heading.toHtmlEscaped());
        html += QStringLiteral("<p>%1</p>")
                    .arg(s.Text.toHtmlEscaped().replace(QLatin1Char('\n'), QStringLiteral("<br>")));
    }
    return html + QStringLiteral("</body></html>");
}

QString TMethodDescription::ToPlainText() const {
    QStringList parts{Title};
    for (const TDescriptionSection &s : Sections)
        parts << (s.Heading.isEmpty() ? s.Text : s.Heading + QStringLiteral(":\n") + s.Text);
    return parts.join(QStringLiteral("\n\n")) + QLatin1Char('\n');
}

} // namespace lot
