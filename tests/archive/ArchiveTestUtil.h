#pragma once
// Small builders shared by the archive tests.

#include "core/CoreHelpers.h"
#include "core/Lottery.h"

#include <QByteArray>
#include <QFile>
#include <QString>

#include <array>
#include <ostream>

// Readable QString values in assertion failures.
inline void PrintTo(const QString &s, std::ostream *os) {
    *os << '"' << s.toStdString() << '"';
}

namespace lot::test {

inline TDrawRec MakeDraw(int number, std::array<int, 6> mains = {3, 11, 17, 25, 40, 44},
                         std::array<int, 2> extras = {7, 29},
                         const QString &date = QStringLiteral("5 Dec 2026")) {
    TDrawRec d;
    d.DrawNumber = number;
    for (int i = 0; i < 6; ++i)
        d.Numbers[i] = uint8_t(mains[size_t(i)]);
    for (int i = 0; i < 2; ++i)
        d.Extra[i] = uint8_t(extras[size_t(i)]);
    SetDrawDateText(d, date);
    return d;
}

inline bool SameRecord(const TDrawRec &a, const TDrawRec &b) {
    return QByteArray(reinterpret_cast<const char *>(&a), sizeof a) ==
           QByteArray(reinterpret_cast<const char *>(&b), sizeof b);
}

inline bool WriteBytes(const QString &fileName, const QByteArray &bytes) {
    QFile f(fileName);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

inline QByteArray ReadBytes(const QString &fileName) {
    QFile f(fileName);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace lot::test
