#pragma once
// Helpers of the command-line tests: running the program in process on a
// data folder and making draws for the archives the tests write.

#include "cli/Command.h"
#include "core/Lottery.h"

#include <initializer_list>
#include <QString>
#include <QStringList>
#include <QTextStream>

namespace lot::clitest {

/// What one run printed and returned.
struct TCliRun {
    int Code = -1;
    QString Out;
    QString Err;
    /// The non-empty lines of Out.
    QStringList Lines() const { return Out.split(QLatin1Char('\n'), Qt::SkipEmptyParts); }
};

/// Runs "--data dataDir args..." in process.
inline TCliRun RunCli(const QString &dataDir, const QStringList &args) {
    TCliRun run;
    QTextStream outStream(&run.Out);
    QTextStream errStream(&run.Err);
    run.Code = cli::RunCliArgs(QStringList{QStringLiteral("--data"), dataDir} + args, outStream, errStream);
    outStream.flush();
    errStream.flush();
    return run;
}

/// A draw with the given main numbers and the supplementary numbers 44, 45.
inline TDrawRec Draw(int number, std::initializer_list<int> mains) {
    TDrawRec d;
    d.DrawNumber = number;
    int i = 0;
    for (int n : mains)
        d.Numbers[i++] = uint8_t(n);
    d.Extra[0] = 44;
    d.Extra[1] = 45;
    return d;
}

} // namespace lot::clitest
