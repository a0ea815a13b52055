#pragma once
/// @file Delphi-style Format used to render every message of the program:
/// %d %s %f %n %x %e %g %u %% with width, precision ("%.2d", "%.5f",
/// "%.3n"), left-justify "-" and positional indexes ("%0:s", "%1:d").

#include <initializer_list>
#include <QString>
#include <QVariant>

namespace lot {

/// Number formatting used by %e %f %g %m %n. Kept independent of the system
/// locale so that messages and files look the same on every machine.
struct TFormatSettings {
    QChar DecimalSeparator = '.';
    QChar ThousandSeparator = ' ';
};

/// The process-wide settings (one thread uses them, as everywhere in the program).
TFormatSettings &FormatSettings();

/// Renders fmt with args. A mismatch (missing argument, wrong type) raises
/// EError with a readable text instead of crashing.
QString Format(const QString &fmt, const QVariantList &args);
QString Format(const QString &fmt, std::initializer_list<QVariant> args);

} // namespace lot
