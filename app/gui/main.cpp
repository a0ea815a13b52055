#include "gui/shell/FormMain.h"
#include "shell/Switches.h"

#include <cstdio>
#include <QApplication>
#include <QDir>

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
    lot::TakeOption(args, QStringLiteral("--data"), dataDir, &missing);
    lot::TakeOption(args, QStringLiteral("--screenshot"), screenshotDir, &missing);
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
