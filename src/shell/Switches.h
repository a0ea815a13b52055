#pragma once
/// @file The command line of both programs: the switches and the options
/// with a value ("--data DIR").

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

/// Takes "--name VALUE" or "--name=VALUE" out of args and sets value;
/// false when the option is not there. "--name" as the last argument, with
/// no value after it, is left in args and sets *missing (when given).
inline bool TakeOption(QStringList &args, const QString &name, QString &value, bool *missing = nullptr) {
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString &arg = args[i];
        if (arg == name) {
            if (i + 1 >= args.size()) {
                if (missing) *missing = true;
                return false;
            }
            value = args[i + 1];
            args.remove(i, 2);
            return true;
        }
        if (arg.startsWith(name + QLatin1Char('='))) {
            value = arg.mid(name.size() + 1);
            args.removeAt(i);
            return true;
        }
    }
    return false;
}

/// Takes every "--name" out of args; whether there was one.
inline bool TakeFlag(QStringList &args, const QString &name) {
    return args.removeAll(name) > 0;
}

} // namespace lot
