#pragma once
/// @file The favourites editor's view of the registry: the methods by group
/// as the filter manager shows them, and how the edited marks and names go
/// back into the registry.

#include <QList>
#include <QString>

namespace lot {

class TStatList;

/// One group of the manager's tree: its heading and the entries under it.
struct TMethodGroup {
    QString Heading;    ///< "{ num } Числа тиража"
    QList<int> Entries; ///< registry entries in registry order
};

/// The enabled entries grouped by their group heading, groups in the order
/// in which their first entry occurs (headings compared without regard to
/// case); disabled classes are left out.
QList<TMethodGroup> MethodGroups(const TStatList &registry);

/// The name a method shows in the manager: its custom caption, else the
/// caption of its class.
QString MethodName(const TStatList &registry, int entry);

/// One method as the manager edited it.
struct TMethodEdit {
    int Entry = -1;
    bool Marked = false;
    QString Name;
};

/// Puts the edits into the registry: with marks, Selected := Marked; the
/// custom caption becomes empty when the name equals the class caption
/// (without regard to case), else the name. Edits of entries outside the
/// registry are ignored.
void ApplyMethodEdits(TStatList &registry, const QList<TMethodEdit> &edits, bool withMarks);

/// The registry's three display options.
struct TDisplayOptions {
    bool Ordered = false;
    bool ShowGroupName = true;
    bool ShowMethodFlags = true;
};

} // namespace lot
