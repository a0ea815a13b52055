#pragma once
/// @file Command-line switches of the program.

#include <QString>
#include <QStringList>

namespace lot {

inline const QString SwitchRestart = QStringLiteral("restart");
inline const QString SwitchLoadOnly = QStringLiteral("loadonly");
inline const QString SwitchFullRecreate = QStringLiteral("fullrecreate");
inline const QString SwitchFullRefresh = QStringLiteral("fullrefresh");
inline const QString SwitchNoLanguage = QStringLiteral("no-language");

/// True when an argument equals name, or name prefixed by "-", "--", "/"
/// or "\", compared case-insensitively.
inline bool HasSwitch(const QStringList &args, const QString &name) {
    static const QString prefixes[] = {QString(), QStringLiteral("-"), QStringLiteral("--"),
                                       QStringLiteral("/"), QStringLiteral("\\")};
    for (const QString &arg : args)
        for (const QString &prefix : prefixes)
            if (arg.compare(prefix + name, Qt::CaseInsensitive) == 0) return true;
    return false;
}

} // namespace lot
