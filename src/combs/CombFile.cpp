#include "combs/CombFile.h"

#include "core/Codec1251.h"
#include "core/CoreHelpers.h"
#include "core/Errors.h"
#include "core/Format.h"

#include "core/AtomicFile.h"

#include <algorithm>
#include <cstring>
#include <QFile>

namespace lot {

namespace {

bool IsBlank(char ch) {
    return uchar(ch) <= ' ';
}

/// A trimmed word as a number 1..45; 0 for anything else (not an integer,
/// out of range, overflow).
int WordToNumber(const char *b, const char *e) {
    while (b < e && IsBlank(*b))
        ++b;
    while (e > b && IsBlank(e[-1]))
        --e;
    if (b < e && *b == '+') ++b;
    if (b == e) return 0;
    int v = 0;
    for (; b < e; ++b) {
        if (*b < '0' || *b > '9') return 0;
        v = v * 10 + (*b - '0');
        if (v > NumberCount * 10) v = NumberCount * 10; // stays out of range, never overflows
    }
    return IsValidNumber(v) ? v : 0;
}

QString TooManyText() {
    return Format(QStringLiteral("Файл содержит более %d комбинаций"), {MaxCombsListSize});
}

} // namespace

TCombLineKind ParseCombLine(const char *text, qsizetype length, TComb &comb) {
    const char *end = text + length;
    const char *word = text;
    int n = 0;
    int values[CombSize] = {};
    bool bad = false;
    for (const char *p = text;; ++p) {
        if (p == end || *p == ',' || *p == ';') {
            if (n == CombSize) return TCombLineKind::Malformed;
            values[n] = WordToNumber(word, p);
            bad |= values[n] == 0;
            ++n;
            if (p == end) break;
            word = p + 1;
        }
    }
    if (n != CombSize) return TCombLineKind::Malformed;
    if (bad) return TCombLineKind::BadNumbers;
    for (int i = 0; i < CombSize; ++i)
        comb.N[i] = uint8_t(values[i]);
    return TCombLineKind::Combination;
}

void EnsureCombsCapacity(TCombsArray &combs, qsizetype n) {
    if (qsizetype(combs.size()) >= n) return;
    qsizetype grown = std::max<qsizetype>(n, qsizetype(combs.size()) * 2);
    if (grown > MaxCombsListSize && n <= MaxCombsListSize) grown = MaxCombsListSize;
    combs.resize(size_t(grown));
}

void ReadCombsFile(const QString &fileName, TCombsArray &dest, int &count, TCombFileReadInfo &info) {
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly)) throw EError(file.errorString());

    constexpr qsizetype BlockSize = 1 << 20;
    QByteArray block(BlockSize, Qt::Uninitialized);
    // The current line; an overlong one is dropped on the spot and the rest
    // of it skipped up to the next line break.
    char line[MaxCombsLineLength];
    qsizetype lineLength = 0;
    bool overlong = false;
    bool lastWasCr = false;
    bool atStart = true;

    const auto finishLine = [&] {
        ++info.Lines;
        if (overlong || lineLength == 0) {
            ++info.SkippedMalformed;
        } else {
            TComb c;
            switch (ParseCombLine(line, lineLength, c)) {
            case TCombLineKind::Combination:
                if (count >= MaxCombsListSize) throw EError(TooManyText());
                EnsureCombsCapacity(dest, qsizetype(count) + 1);
                dest[size_t(count)] = c;
                ++count;
                ++info.Loaded;
                break;
            case TCombLineKind::BadNumbers:
                ++info.SkippedBadNumbers;
                break;
            case TCombLineKind::Malformed:
                ++info.SkippedMalformed;
                break;
            }
        }
        lineLength = 0;
        overlong = false;
    };

    for (;;) {
        const qint64 got = file.read(block.data(), BlockSize);
        if (got < 0) throw EError(file.errorString());
        if (got == 0) break;
        const char *p = block.constData();
        const char *end = p + got;
        // Editors on Windows like to start a file with a UTF-8 byte order mark.
        if (atStart) {
            atStart = false;
            if (got >= 3 && std::memcmp(p, "\xEF\xBB\xBF", 3) == 0) p += 3;
        }
        for (; p < end; ++p) {
            const char ch = *p;
            if (ch == '\n' || ch == '\r') {
                // CR LF ends one line, not two.
                if (!(ch == '\n' && lastWasCr)) finishLine();
                lastWasCr = ch == '\r';
                continue;
            }
            lastWasCr = false;
            if (lineLength < MaxCombsLineLength)
                line[lineLength++] = ch;
            else
                overlong = true;
        }
    }
    if (lineLength > 0 || overlong) finishLine();
}

void WriteCombsFile(const QString &fileName, const TComb *combs, int count) {
    // Texts of 0..255 once, so the loop below is plain byte copying.
    static const auto numberTexts = [] {
        std::array<std::array<char, 4>, 256> t{};
        for (int i = 0; i < 256; ++i) {
            const QByteArray s = QByteArray::number(i);
            t[size_t(i)][0] = char(s.size());
            std::memcpy(&t[size_t(i)][1], s.constData(), size_t(s.size()));
        }
        return t;
    }();

    TAtomicFile file(fileName);
    constexpr qsizetype BlockSize = 1 << 20;
    QByteArray block;
    block.reserve(BlockSize + 64);
    const auto flush = [&] {
        file.Write(block);
        block.resize(0);
    };
    for (int i = 0; i < count; ++i) {
        for (int k = 0; k < CombSize; ++k) {
            const auto &t = numberTexts[combs[i].N[k]];
            block.append(&t[1], t[0]);
            block.append(k + 1 < CombSize ? ';' : '\r');
        }
        block.append('\n');
        if (block.size() >= BlockSize) flush();
    }
    flush();
    file.Commit();
}

void ParseCombsText(const QString &text, TCombsArray &dest, int &count) {
    count = 0;
    const QStringList lines = SplitLines(text);
    if (lines.size() > MaxCombsListSize) throw EError(TooManyText());
    EnsureCombsCapacity(dest, lines.size());
    for (const QString &line : lines) {
        const TComb c = TextToComb(line);
        for (int k = 0; k < CombSize; ++k)
            if (!IsValidNumber(c.N[k]))
                throw EError(Format(QStringLiteral("Некорректная комбинация: \"%s\"!"), {line}));
        dest[size_t(count++)] = c;
    }
}

QString CombsToText(const TComb *combs, int count) {
    QString text;
    text.reserve(qsizetype(count) * 19);
    for (int i = 0; i < count; ++i) {
        text += CombToSpacedText(combs[i]);
        text += QLatin1String("\r\n");
    }
    return text;
}

void WriteCombsBuffer(const QString &fileName, const TComb *combs, int count,
                      const std::function<void(int done)> &progress) {
    TAtomicFile file(fileName);
    const int step = std::max(1, count / 100);
    for (int done = 0; done < count;) {
        const int n = std::min(step, count - done);
        const qint64 bytes = qint64(n) * qint64(sizeof(TComb));
        file.Write(reinterpret_cast<const char *>(combs + done), bytes);
        done += n;
        if (progress) progress(done);
    }
    file.Commit();
}

void ReadCombsBuffer(const QString &fileName, TCombsArray &dest, int &count,
                     const std::function<void(int done, int total)> &progress) {
    count = 0;
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly)) throw EError(file.errorString());
    const qint64 total64 = file.size() / qint64(sizeof(TComb));
    if (total64 > MaxCombsListSize) throw EError(TooManyText());
    const int total = int(total64);
    EnsureCombsCapacity(dest, total);
    const int step = std::max(1, total / 100);
    while (count < total) {
        const int n = std::min(step, total - count);
        const qint64 bytes = qint64(n) * qint64(sizeof(TComb));
        TComb *at = dest.data() + count;
        if (file.read(reinterpret_cast<char *>(at), bytes) != bytes)
            throw EError(file.error() != QFileDevice::NoError ? file.errorString()
                                                              : QStringLiteral("Неожиданный конец файла"));
        for (int i = 0; i < n; ++i)
            for (int k = 0; k < CombSize; ++k)
                if (!IsValidNumber(at[i].N[k]))
                    throw EError(
                        Format(QStringLiteral("Некорректная комбинация в записи %d"), {count + i + 1}));
        count += n;
        if (progress) progress(count, total);
    }
}

} // namespace lot
