// libFuzzer harness for the combination buffer: arbitrary bytes as the
// content of the buffer file, loaded by the list under its key. The load
// succeeds exactly when every whole 6-byte record holds numbers 1..45 and
// then gives those records; a failed load reports one error and forgets the
// key; the list never holds a number outside 1..45. Violated invariants abort.

#include "combs/CombsController.h"
#include "core/Host.h"

#include <QByteArray>
#include <QFile>
#include <QTemporaryDir>

#include <cstdint>
#include <cstdlib>
#include <cstring>

using namespace lot;

namespace {

void Check(bool condition) {
    if (!condition) std::abort();
}

class TQuietHost : public IHost {
public:
    int Errors = 0;
    void ShowStatus(const QString &) override {}
    void ShowError(const QString &) override { ++Errors; }
    void ShowInformation(const QString &) override {}
    void ShowAttention(const QString &) override {}
    void ShowWarning(const QString &) override {}
    bool Confirm(const QString &, const QString &, bool) override { return false; }
};

constexpr TBufferKey Key{3, 10};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    static const QTemporaryDir dir;
    static TQuietHost host;
    static TCombsController list(host);
    static bool started = false;
    if (!started) {
        // Generation walks the full set: once per run is enough, the list
        // only has to be something the buffer can be made of.
        Check(dir.isValid());
        list.SetDataDir(dir.path());
        Check(bool(list.GenerateCombs(false, 2, QStringLiteral("1;2;3;4;5;6;7"))));
        Check(list.Count() == 7);
        started = true;
    }

    // The buffer under the key, holding whatever the last input left in the
    // list; after a failed load the key is gone and the buffer is written
    // again, as the program does.
    Check(bool(list.CreateBuffer(Key.Offset, Key.Count)));
    Check(list.BufferKey() == Key);

    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    {
        QFile file(list.BufferFileName());
        Check(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        Check(file.write(bytes) == bytes.size());
    }
    const int records = int(size / sizeof(TComb));
    int firstBad = records;
    for (int i = 0; i < records * CombSize && firstBad == records; ++i)
        if (!IsValidNumber(data[i])) firstBad = i / CombSize;

    Check(!list.LoadBuffer(Key.Offset + 1, Key.Count)); // another key never loads
    host.Errors = 0;
    const bool loaded = list.LoadBuffer(Key.Offset, Key.Count);
    Check(host.IsIdle());
    Check(loaded == (firstBad == records));
    if (loaded) {
        Check(host.Errors == 0);
        Check(list.BufferKey() == Key);
        Check(list.Count() == records);
        Check(records == 0 || std::memcmp(list.Data(), data, size_t(records) * sizeof(TComb)) == 0);
    } else {
        Check(host.Errors == 1);
        Check(list.BufferKey() == TBufferKey{});
        Check(list.Count() <= firstBad);
    }
    Check(list.Count() <= list.Capacity());
    for (const TComb &c : list.Combs())
        for (int k = 0; k < CombSize; ++k)
            Check(IsValidNumber(c.N[k]));
    return 0;
}
