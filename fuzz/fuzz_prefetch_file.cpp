// libFuzzer harness for the prefetch file reader: arbitrary bytes as a
// prefetch file. The reader accepts exactly the well-formed images (whole
// 12-byte records, keys strictly ascending, counts of 0 or more, a trailer
// naming the smallest and largest count, then 0) and refuses the rest with
// EPrefetchFormatError; an accepted table saves to the very same bytes and
// reads back equal. Violated invariants abort.

#include "core/Errors.h"
#include "stats/PrefetchFile.h"

#include <QByteArray>
#include <QFile>
#include <QTemporaryDir>
#include <QtEndian>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <limits>

using namespace lot;

namespace {

void Check(bool condition) {
    if (!condition) std::abort();
}

int32_t Int32At(const QByteArray &bytes, qsizetype offset) {
    return qFromLittleEndian<qint32>(bytes.constData() + offset);
}

uint64_t KeyOrderAt(const QByteArray &bytes, qsizetype offset) {
    // w1 is the most significant word of the order, w4 the least.
    uint64_t order = 0;
    for (int w = 0; w < 4; ++w)
        order = order << 16 | qFromLittleEndian<quint16>(bytes.constData() + offset + 2 * w);
    return order;
}

/// Whether the bytes are a well-formed prefetch image, read straight off the
/// layout.
bool WellFormed(const QByteArray &bytes) {
    if (bytes.size() < 12 || bytes.size() % 12 != 0) return false;
    const qsizetype records = bytes.size() / 12 - 1;
    int32_t mn = records > 0 ? std::numeric_limits<int32_t>::max() : 0;
    int32_t mx = 0;
    for (qsizetype i = 0; i < records; ++i) {
        const int32_t count = Int32At(bytes, i * 12 + 8);
        if (count < 0) return false;
        if (i > 0 && KeyOrderAt(bytes, (i - 1) * 12) >= KeyOrderAt(bytes, i * 12)) return false;
        mn = std::min(mn, count);
        mx = std::max(mx, count);
    }
    const qsizetype t = records * 12;
    return Int32At(bytes, t) == mn && Int32At(bytes, t + 4) == mx && Int32At(bytes, t + 8) == 0;
}

QByteArray ReadAll(const QString &fileName) {
    QFile file(fileName);
    Check(file.open(QIODevice::ReadOnly));
    return file.readAll();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    static const QTemporaryDir dir;
    Check(dir.isValid());
    const QString fileName = dir.filePath(QStringLiteral("input.pft"));
    const QString copyName = dir.filePath(QStringLiteral("copy.pft"));

    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    {
        QFile file(fileName);
        Check(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        Check(file.write(bytes) == bytes.size());
    }

    TPrefetchTable table;
    try {
        table = ReadPrefetchFile(fileName);
    } catch (const EPrefetchFormatError &) {
        Check(!WellFormed(bytes));
        return 0;
    } catch (const EError &) {
        Check(false); // the file can be read: any fault is a format fault
    }
    Check(WellFormed(bytes));

    Check(int64_t(table.Records.size()) == int64_t(size / 12) - 1);
    int64_t total = 0;
    int32_t mn = table.Records.empty() ? 0 : std::numeric_limits<int32_t>::max();
    int32_t mx = 0;
    for (size_t i = 0; i < table.Records.size(); ++i) {
        const TPrefetchRec &r = table.Records[i];
        Check(r.Count >= 0);
        Check(i == 0 || table.Records[i - 1].Key < r.Key);
        Check(table.Find(r.Key) == &r);
        total += r.Count;
        mn = std::min(mn, r.Count);
        mx = std::max(mx, r.Count);
    }
    Check(table.MinCount == mn && table.MaxCount == mx);
    Check(table.Total() == total);

    // The layout is canonical: the table saves to the bytes it came from.
    WritePrefetchFile(copyName, table);
    Check(ReadAll(copyName) == bytes);
    Check(ReadPrefetchFile(copyName) == table);
    return 0;
}
