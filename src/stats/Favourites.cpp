#include "stats/Favourites.h"

#include "stats/StatList.h"
#include "stats/StatValues.h"

#include <algorithm>

namespace lot {

QList<TMethodGroup> MethodGroups(const TStatList &registry) {
    QList<TMethodGroup> groups;
    for (int i = 0; i < registry.Count(); ++i) {
        if (!registry.IsEnabled(i)) continue;
        const QString heading = GroupHeading(registry.Items(i).StatClass->Group());
        auto it = std::find_if(groups.begin(), groups.end(), [&](const TMethodGroup &g) {
            return g.Heading.compare(heading, Qt::CaseInsensitive) == 0;
        });
        if (it == groups.end()) {
            groups.append({heading, {}});
            it = groups.end() - 1;
        }
        it->Entries.append(i);
    }
    return groups;
}

QString MethodName(const TStatList &registry, int entry) {
    const TStatMethod &m = registry.Items(entry);
    return m.CustomCaption.isEmpty() ? m.StatClass->Caption(m.Param) : m.CustomCaption;
}

void ApplyMethodEdits(TStatList &registry, const QList<TMethodEdit> &edits, bool withMarks) {
    for (const TMethodEdit &e : edits) {
        if (e.Entry < 0 || e.Entry >= registry.Count()) continue;
        TStatMethod &m = registry.Items(e.Entry);
        if (withMarks) m.Selected = e.Marked;
        const QString classCaption = m.StatClass->Caption(m.Param);
        m.CustomCaption = e.Name.compare(classCaption, Qt::CaseInsensitive) == 0 ? QString() : e.Name;
    }
}

} // namespace lot
