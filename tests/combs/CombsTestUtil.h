#pragma once
// Shared helpers of the combination list tests: a recording host, builders
// of combinations and draws, and file helpers.

#include "core/CoreHelpers.h"
#include "core/Host.h"
#include "core/Lottery.h"

#include <array>
#include <ostream>
#include <QByteArray>
#include <QFile>
#include <QList>
#include <QString>
#include <QStringList>
#include <vector>

inline void PrintTo(const QString &s, std::ostream *os) {
    *os << '"' << s.toStdString() << '"';
}

namespace lot {
inline void PrintTo(const TComb &c, std::ostream *os) {
    *os << CombToText(c).toStdString();
}
} // namespace lot

namespace lot::test {

/// Records everything the engine tells the user.
class TRecordingHost : public IHost {
public:
    QStringList Statuses;
    QStringList Errors;
    QStringList Attentions;
    QStringList Informations;
    int ProcessCalls = 0;
    int ProgressSteps = 0;
    int ProgressOpened = 0;

    void ShowStatus(const QString &text) override { Statuses << text; }
    void ProcessMessages() override { ++ProcessCalls; }
    void ShowError(const QString &text) override { Errors << text; }
    void ShowInformation(const QString &text) override { Informations << text; }
    void ShowAttention(const QString &text) override { Attentions << text; }
    void ShowWarning(const QString &text) override { Attentions << text; }
    bool Confirm(const QString &, const QString & = {}, bool = false) override { return true; }
    void Clear() {
        Statuses.clear();
        Errors.clear();
        Attentions.clear();
        Informations.clear();
    }

protected:
    void OnProgressChanged() override {
        if (ProgressIsOpen() && ProgressPosition() == 0) ++ProgressOpened;
        ProgressSteps = ProgressPosition();
    }
};

inline TComb C(int a, int b, int c, int d, int e, int f) {
    TComb x;
    const int n[6] = {a, b, c, d, e, f};
    for (int i = 0; i < 6; ++i)
        x.N[i] = uint8_t(n[i]);
    return x;
}

inline TDrawRec Draw(int number, std::array<int, 6> mains) {
    TDrawRec d;
    d.DrawNumber = number;
    for (int i = 0; i < 6; ++i)
        d.Numbers[i] = uint8_t(mains[size_t(i)]);
    d.Extra[0] = 1;
    d.Extra[1] = 2;
    return d;
}

inline bool WriteBytes(const QString &fileName, const QByteArray &bytes) {
    QFile f(fileName);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

inline QByteArray ReadBytes(const QString &fileName) {
    QFile f(fileName);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

template <class Span> std::vector<TComb> ToVector(const Span &s) {
    return std::vector<TComb>(s.begin(), s.end());
}

} // namespace lot::test
