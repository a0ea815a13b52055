#include "gui/shell/FormMain.h"

#include <cstdio>
#include <QApplication>
#include <QDir>

namespace {

// "--name VALUE" or "--name=VALUE"; the pair is taken out of args.
bool TakeOption(QStringList &args, const QString &name, QString &value, bool &missing) {
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString &arg = args[i];
        if (arg == name) {
            if (i + 1 >= args.size()) {
                missing = true;
                return false;
            }
            value = args[i + 1];
            args.remove(i, 2);
            return true;
        }
        if (arg.startsWith(name + QLatin1Char('='))) {
            value = arg.mid(name.size() + 1);
            args.remove(i);
            return true;
        }
    }
    return false;
}

} // namespace

int main(int argc, char **argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Brantlee_6x45"));
#ifdef BRANTLEE_VERSION
    QApplication::setApplicationVersion(QStringLiteral(BRANTLEE_VERSION));
#endif

    QStringList args = QApplication::arguments().mid(1);
    QString dataDir = QApplication::applicationDirPath();
    QString screenshotDir;
    bool missing = false;
    TakeOption(args, QStringLiteral("--data"), dataDir, missing);
    TakeOption(args, QStringLiteral("--screenshot"), screenshotDir, missing);
    if (missing) {
        std::fprintf(stderr, "usage: Brantlee_6x45 [--data DIR] [--screenshot DIR] [switches]\n");
        return 2;
    }
    QDir().mkpath(dataDir);

    lot::TFormMain window(dataDir, args);
    if (window.TerminateRequested()) return 0;
    if (!screenshotDir.isEmpty()) {
        window.SetNonInteractive(true);
        QObject::connect(&window, &lot::TTemplateMain::StartupFinished, &window,
                         [&window, screenshotDir](lot::TStartupResult result) {
                             if (result != lot::TStartupResult::Running) return;
                             const bool ok = window.SaveScreenshots(screenshotDir);
                             if (!ok)
                                 std::fprintf(stderr, "cannot write the screenshots to %s\n",
                                              qPrintable(screenshotDir));
                             QApplication::exit(ok ? 0 : 1);
                         });
    }
    window.Start();
    return QApplication::exec();
}
