// libFuzzer harness for the combination file reader: arbitrary bytes as an
// ".lcv" file. The reader must agree line by line with a plain reading of the
// format (CR, LF or CR LF end a line; six words split on "," and ";"), keep
// what the list held before, count every line it skips, and what it kept
// must save and load back unchanged. Violated invariants abort.

#include "combs/CombFile.h"
#include "core/Errors.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cstdint>
#include <cstdlib>
#include <vector>

using namespace lot;

namespace {

void Check(bool condition) {
    if (!condition) std::abort();
}

/// The reader takes a file name: one folder for the whole run.
const QTemporaryDir &RunDir() {
    static const QTemporaryDir dir;
    Check(dir.isValid());
    return dir;
}

QString RunFile(const char *name) {
    return RunDir().filePath(QString::fromLatin1(name));
}

void WriteFile(const QString &fileName, const QByteArray &bytes) {
    QFile file(fileName);
    Check(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    Check(file.write(bytes) == bytes.size());
}

/// The file's lines: a UTF-8 byte order mark at the start is no content; CR,
/// LF and CR LF each end one line; text after the last break is a line too.
std::vector<QByteArray> FileLines(QByteArray bytes) {
    if (bytes.startsWith("\xEF\xBB\xBF")) bytes.remove(0, 3);
    std::vector<QByteArray> lines;
    QByteArray line;
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const char ch = bytes[i];
        if (ch == '\r' || ch == '\n') {
            lines.push_back(line);
            line.clear();
            if (ch == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') ++i;
        } else {
            line.append(ch);
        }
    }
    if (!line.isEmpty()) lines.push_back(line);
    return lines;
}

/// A word as a number 1..45, 0 otherwise: blanks (any byte up to the space)
/// around it, one optional '+', then decimal digits only.
int WordNumber(QByteArray word) {
    while (!word.isEmpty() && uchar(word.front()) <= ' ')
        word.remove(0, 1);
    while (!word.isEmpty() && uchar(word.back()) <= ' ')
        word.chop(1);
    if (word.startsWith('+')) word.remove(0, 1);
    if (word.isEmpty()) return 0;
    for (char ch : word)
        if (ch < '0' || ch > '9') return 0;
    while (word.startsWith('0'))
        word.remove(0, 1);
    if (word.isEmpty() || word.size() > 2) return 0;
    const int n = word.toInt();
    return n >= 1 && n <= NumberCount ? n : 0;
}

TCombLineKind ClassifyLine(QByteArray line, TComb &comb) {
    if (line.isEmpty() || line.size() > MaxCombsLineLength) return TCombLineKind::Malformed;
    line.replace(';', ',');
    const QList<QByteArray> words = line.split(',');
    if (words.size() != CombSize) return TCombLineKind::Malformed;
    for (int k = 0; k < CombSize; ++k) {
        const int n = WordNumber(words[k]);
        if (n == 0) return TCombLineKind::BadNumbers;
        comb.N[k] = uint8_t(n);
    }
    return TCombLineKind::Combination;
}

bool AllValid(const TComb *combs, int count) {
    for (int i = 0; i < count; ++i)
        for (int k = 0; k < CombSize; ++k)
            if (!IsValidNumber(combs[i].N[k])) return false;
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    const QString fileName = RunFile("input.lcv");
    WriteFile(fileName, bytes);

    // What the list held before stays: the reader appends after it.
    const TComb kept{{7, 8, 9, 10, 11, 12}};
    TCombsArray combs(1, kept);
    int count = 1;
    TCombFileReadInfo info;
    try {
        ReadCombsFile(fileName, combs, count, info);
    } catch (const EError &) {
        Check(false); // a readable file this small is never refused
    }
    Check(combs[0] == kept);
    Check(count == 1 + info.Loaded);
    Check(qsizetype(combs.size()) >= count);
    Check(AllValid(combs.data(), count));
    Check(info.Lines == info.Loaded + info.SkippedMalformed + info.SkippedBadNumbers);

    // Line by line as the format reads.
    const std::vector<QByteArray> lines = FileLines(bytes);
    Check(info.Lines == int64_t(lines.size()));
    int loaded = 0, malformed = 0, badNumbers = 0;
    for (const QByteArray &line : lines) {
        TComb comb;
        switch (ClassifyLine(line, comb)) {
        case TCombLineKind::Combination:
            Check(1 + loaded < count && combs[size_t(1 + loaded)] == comb);
            ++loaded;
            break;
        case TCombLineKind::Malformed:
            ++malformed;
            break;
        case TCombLineKind::BadNumbers:
            ++badNumbers;
            break;
        }
    }
    Check(loaded == info.Loaded && malformed == info.SkippedMalformed &&
          badNumbers == info.SkippedBadNumbers);

    // Saved and loaded again: the same combinations, nothing skipped. With
    // nothing new read this is skipped: every read and write goes through a
    // 1 MiB block, and junk inputs are most of a run.
    if (info.Loaded == 0) return 0;
    const QString copyName = RunFile("copy.lcv");
    WriteCombsFile(copyName, combs.data(), count);
    TCombsArray again;
    int againCount = 0;
    TCombFileReadInfo againInfo;
    ReadCombsFile(copyName, again, againCount, againInfo);
    Check(againCount == count && againInfo.Lines == count && againInfo.Loaded == count);
    for (int i = 0; i < count; ++i)
        Check(again[size_t(i)] == combs[size_t(i)]);

    // And through the clipboard text.
    TCombsArray pasted;
    int pastedCount = -1;
    ParseCombsText(CombsToText(combs.data(), count), pasted, pastedCount);
    Check(pastedCount == count);
    for (int i = 0; i < count; ++i)
        Check(pasted[size_t(i)] == combs[size_t(i)]);
    return 0;
}
