// Prefetch files: format, counts checked against independent formulas, the
// parallel path against the sequential one, and the open/rebuild rules.

#include "archive/ArchiveController.h"
#include "core/CoreHelpers.h"
#include "core/DataFolder.h"
#include "core/Errors.h"
#include "core/Host.h"
#include "core/WindowSettings.h"
#include "stats/methods/NumberMethods.h"
#include "stats/PrefetchFiles.h"
#include "stats/StatList.h"
#include "stats/StatsController.h"

#include <gtest/gtest.h>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QtEndian>

using namespace lot;

namespace {

/// Records what the prefetch files tell the user.
class TPrefetchHost : public IHost {
public:
    QStringList Statuses;
    QStringList Errors;
    int ProcessCalls = 0;
    int ProgressSteps = 0;
    int ProgressOpened = 0;

    void ShowStatus(const QString &text) override { Statuses << text; }
    void ProcessMessages() override { ++ProcessCalls; }
    void ShowError(const QString &text) override { Errors << text; }
    void ShowInformation(const QString &) override {}
    void ShowAttention(const QString &) override {}
    void ShowWarning(const QString &) override {}
    bool Confirm(const QString &, const QString & = {}, bool = false) override { return true; }
    void Clear() {
        Statuses.clear();
        Errors.clear();
    }

protected:
    void OnProgressChanged() override {
        if (ProgressIsOpen() && ProgressPosition() == 0) ++ProgressOpened;
        ProgressSteps = ProgressPosition();
    }
};

bool WriteBytes(const QString &fileName, const QByteArray &bytes) {
    QFile f(fileName);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

QByteArray ReadBytes(const QString &fileName) {
    QFile f(fileName);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

int64_t Choose(int n, int k) {
    return k < 0 || k > n ? 0 : Binomial(n, k);
}

class Prefetch : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        stats.RegisterClasses({&TstValues::StaticClass(), &TstDigits::StaticClass(),
                               &TstEvenCount::StaticClass(), &TstPosVal::StaticClass(),
                               &TstPosExt::StaticClass()});
        files.SetEnabled(true);
    }
    int Entry(const char *code) const { return stats.FindEntry(QString::fromLatin1(code)); }
    const TStatClass &ClassOf(const char *code) const { return *stats.Items(Entry(code)).StatClass; }
    QString File(const char *code) const { return files.FileNameForCode(QString::fromLatin1(code)); }

    QTemporaryDir dir;
    TPrefetchHost host;
    TDataFolder folder{dir.path()};
    TWindowSettings settings;
    TArchiveController archive{host, folder, settings};
    // The error boundary of the prefetch files' operations.
    TStatsController ctl{host, folder, settings, archive};
    TStatList &stats = ctl.Registry();
    TPrefetchFiles &files = ctl.Prefetchs();
};

TEST_F(Prefetch, NumsFileBytes) {
    ASSERT_TRUE(ctl.CreatePrefetch(Entry("NUMS")));
    EXPECT_EQ(File("NUMS"), dir.filePath(QStringLiteral("Prefetchs/Brantlee_6x45_NUMS.dfc")));
    const QByteArray bytes = ReadBytes(File("NUMS"));
    ASSERT_EQ(bytes.size(), 46 * 12);
    // Every number lies in C(44,5) combinations of the full set.
    for (int i = 0; i < 45; ++i) {
        const char *r = bytes.constData() + i * 12;
        EXPECT_EQ(qFromLittleEndian<quint16>(r), i + 1);
        EXPECT_EQ(qFromLittleEndian<quint16>(r + 2), 0);
        EXPECT_EQ(qFromLittleEndian<quint16>(r + 4), 0);
        EXPECT_EQ(qFromLittleEndian<quint16>(r + 6), 0);
        EXPECT_EQ(qFromLittleEndian<qint32>(r + 8), 1086008);
    }
    const char *t = bytes.constData() + 45 * 12;
    EXPECT_EQ(qFromLittleEndian<qint32>(t), 1086008);
    EXPECT_EQ(qFromLittleEndian<qint32>(t + 4), 1086008);
    EXPECT_EQ(qFromLittleEndian<qint32>(t + 8), 0);
    EXPECT_EQ(host.Statuses.first(),
              QStringLiteral("Создание файла предварительной выборки Brantlee_6x45_NUMS.dfc..."));
    EXPECT_GT(host.ProcessCalls, 0);
    EXPECT_TRUE(host.IsIdle());
}

TEST_F(Prefetch, CountsMatchIndependentFormulas) {
    // EVEN: k even numbers (22 of them in 1..45) and 6 - k odd ones (23).
    const TPrefetchTable even = files.ComputeTable(ClassOf("EVEN"), 0, 2);
    ASSERT_EQ(even.Records.size(), 7u);
    int64_t smallest = INT64_MAX, largest = 0;
    for (int k = 0; k <= 6; ++k) {
        const int64_t expected = Choose(22, k) * Choose(23, 6 - k);
        EXPECT_EQ(even.Records[size_t(k)].Key, TStatKey::FromWords(uint16_t(k)));
        EXPECT_EQ(even.Records[size_t(k)].Count, expected) << "k = " << k;
        smallest = std::min(smallest, expected);
        largest = std::max(largest, expected);
    }
    EXPECT_EQ(even.MinCount, smallest);
    EXPECT_EQ(even.MaxCount, largest);
    EXPECT_EQ(even.Total(), FullSetSize);

    // POS1: the smallest number is n in C(45 - n, 5) combinations; POS6: the
    // largest is n in C(n - 1, 5).
    const TPrefetchTable pos1 = files.ComputeTable(ClassOf("POS1"), 1, 2);
    const TPrefetchTable pos6 = files.ComputeTable(ClassOf("POS6"), 6, 2);
    ASSERT_EQ(pos1.Records.size(), 40u);
    ASSERT_EQ(pos6.Records.size(), 40u);
    for (int n = 1; n <= 40; ++n) {
        EXPECT_EQ(pos1.Records[size_t(n - 1)].Key.W(1), n);
        EXPECT_EQ(pos1.Records[size_t(n - 1)].Count, Choose(45 - n, 5));
        EXPECT_EQ(pos6.Records[size_t(n - 1)].Key.W(1), n + 5);
        EXPECT_EQ(pos6.Records[size_t(n - 1)].Count, Choose(n + 4, 5));
    }
    EXPECT_EQ(pos1.MaxCount, Choose(44, 5));
    EXPECT_EQ(pos1.MinCount, 1);
}

TEST_F(Prefetch, ParallelEqualsSequential) {
    for (const char *code : {"NUMS", "EVEN", "POS3"}) {
        const TStatMethod &m = stats.Items(Entry(code));
        const TPrefetchTable sequential = files.ComputeTable(*m.StatClass, m.Param, 1);
        const TPrefetchTable parallel = files.ComputeTable(*m.StatClass, m.Param, 5);
        EXPECT_TRUE(sequential == parallel) << code;
        EXPECT_FALSE(sequential.Records.empty()) << code;
    }
}

TEST_F(Prefetch, FastKeysGiveTheTableOfValueRecords) {
    // The methods' key fast path against counting CombValues records over
    // the full set, for a method with one value per number and one with a
    // value counted twice in some combinations (the digit 1 of 11).
    for (const char *code : {"NUMS", "DIGS"}) {
        const TStatMethod &m = stats.Items(Entry(code));
        std::vector<std::unique_ptr<TCustomStat>> instances;
        const auto byRecords = [&]() -> TCombValuesFn {
            instances.push_back(m.StatClass->Create(stats, m.Param));
            TCustomStat *stat = instances.back().get();
            return [stat](const TComb *combs, int count, TKeyCounter &counter) {
                TStatDrawArray values;
                for (int i = 0; i < count; ++i) {
                    values.clear();
                    stat->CombValues(combs[i], values);
                    for (const TStatDraw &v : values)
                        counter.Add(v.Key, v.Count);
                }
            };
        };
        EXPECT_TRUE(CountFullSet(byRecords, 2) == files.ComputeTable(*m.StatClass, m.Param, 2)) << code;
    }
}

TEST_F(Prefetch, OpenBuildsMissingEmptyAndDamagedFiles) {
    files.SetEnabled(false);
    EXPECT_FALSE(ctl.OpenPrefetch(ClassOf("NUMS"), 0).has_value());
    EXPECT_FALSE(QFile::exists(File("NUMS")));
    files.SetEnabled(true);
    // POE%d cannot prefetch.
    EXPECT_FALSE(ctl.OpenPrefetch(ClassOf("POE1"), 1).has_value());

    auto table = ctl.OpenPrefetch(ClassOf("NUMS"), 0);
    ASSERT_TRUE(table.has_value());
    EXPECT_EQ(table->Records.size(), 45u);
    ASSERT_NE(table->Find(TStatKey::FromWords(17)), nullptr);
    EXPECT_EQ(table->Find(TStatKey::FromWords(17))->Count, 1086008);
    EXPECT_EQ(table->Find(TStatKey::FromWords(46)), nullptr);

    // Damaged files are rebuilt (EVEN: one value per combination, a quick build).
    ASSERT_TRUE(ctl.OpenPrefetch(ClassOf("EVEN"), 0).has_value());
    const QByteArray good = ReadBytes(File("EVEN"));
    ASSERT_EQ(good.size(), 8 * 12);
    QByteArray swapped = good; // two records in the wrong order
    std::swap_ranges(swapped.begin(), swapped.begin() + 12, swapped.begin() + 12);
    QByteArray badTrailer = good;
    badTrailer[badTrailer.size() - 4] = 1;
    const QByteArray damaged[] = {QByteArray(), good.left(good.size() - 5), swapped, badTrailer};
    for (const QByteArray &bytes : damaged) {
        ASSERT_TRUE(WriteBytes(File("EVEN"), bytes));
        host.Clear();
        table = ctl.OpenPrefetch(ClassOf("EVEN"), 0);
        ASSERT_TRUE(table.has_value());
        EXPECT_EQ(table->Records.size(), 7u);
        EXPECT_EQ(ReadBytes(File("EVEN")), good);
        EXPECT_TRUE(host.Errors.isEmpty());
        EXPECT_TRUE(host.Statuses.contains(
            QStringLiteral("Создание файла предварительной выборки Brantlee_6x45_EVEN.dfc...")));
    }
}

TEST_F(Prefetch, CreateAllHonoursForceAndGroups) {
    // Switch off and no force: nothing at all.
    files.SetEnabled(false);
    EXPECT_TRUE(ctl.CreateAllPrefetchs(false, PrefetchGroupsNone));
    EXPECT_FALSE(QDir(files.PrefetchDir()).exists());
    EXPECT_EQ(host.ProgressOpened, 0);

    // A stand-in EVEN file that is well formed but not what a build gives.
    ASSERT_TRUE(QDir().mkpath(files.PrefetchDir()));
    TPrefetchTable fake;
    fake.Records.push_back({TStatKey::FromWords(3), 5});
    fake.MinCount = fake.MaxCount = 5;
    WritePrefetchFile(File("EVEN"), fake);
    const QByteArray fakeBytes = ReadBytes(File("EVEN"));

    // Forced, no groups: only the missing files are built.
    stats.RegisterClasses(
        {&TstValues::StaticClass(), &TstEvenCount::StaticClass(), &TstPosExt::StaticClass()});
    ASSERT_TRUE(ctl.CreateAllPrefetchs(true, PrefetchGroupsNone));
    EXPECT_TRUE(QFileInfo(File("NUMS")).size() > 0);
    EXPECT_EQ(ReadBytes(File("EVEN")), fakeBytes);
    EXPECT_FALSE(QFile::exists(File("POE1")));
    EXPECT_EQ(host.ProgressOpened, 1);
    EXPECT_EQ(host.ProgressSteps, stats.Count());
    EXPECT_FALSE(host.ProgressIsOpen());
    EXPECT_TRUE(host.Statuses.contains(QStringLiteral("Создание файлов для полного набора комбинаций...")));

    // Group 0 (NUMS and EVEN) in the set: rebuilt even though present.
    files.SetEnabled(true);
    ASSERT_TRUE(ctl.CreateAllPrefetchs(false, PrefetchGroupBit(0)));
    EXPECT_EQ(ctl.OpenPrefetch(ClassOf("EVEN"), 0)->Records.size(), 7u);
    EXPECT_TRUE(host.Errors.isEmpty());
    EXPECT_TRUE(host.IsIdle());
}

TEST_F(Prefetch, FailedBuildLeavesNoFileAndShowsTheError) {
    // A plain file where the folder should be.
    ASSERT_TRUE(WriteBytes(files.PrefetchDir(), "x"));
    EXPECT_FALSE(ctl.CreatePrefetch(Entry("EVEN")));
    ASSERT_EQ(host.Errors.size(), 1);
    EXPECT_TRUE(host.Errors[0].startsWith(
        QStringLiteral("Ошибка создания файла данных для полного набора вариантов!\r\rИмя файла: ") +
        File("EVEN") + QStringLiteral("\r\r")))
        << host.Errors[0].toStdString();
    EXPECT_FALSE(ctl.OpenPrefetch(ClassOf("EVEN"), 0).has_value());
    // A batch stops at the first failure.
    host.Clear();
    EXPECT_FALSE(ctl.CreateAllPrefetchs(true, PrefetchGroupsAll));
    EXPECT_EQ(host.Errors.size(), 1);
    EXPECT_FALSE(host.ProgressIsOpen());
    EXPECT_TRUE(host.IsIdle());
}

TEST(PrefetchFileFormat, RejectsMalformedFiles) {
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("x.dfc"));
    TPrefetchTable t;
    t.Records = {
        {TStatKey::FromWords(0, 1), 2}, {TStatKey::FromWords(1), 4}, {TStatKey::FromWords(0xFFFF), 9}};
    t.MinCount = 2;
    t.MaxCount = 9;
    WritePrefetchFile(file, t);
    EXPECT_TRUE(ReadPrefetchFile(file) == t);

    const QByteArray good = ReadBytes(file);
    QByteArray negativeCount = good;
    negativeCount[11] = char(0x80);
    QByteArray badTail = good;
    badTail[good.size() - 1] = 1;
    for (const QByteArray &bytes : {QByteArray(), good.left(11), good + "x", negativeCount, badTail}) {
        ASSERT_TRUE(WriteBytes(file, bytes));
        EXPECT_THROW(ReadPrefetchFile(file), EPrefetchFormatError);
    }
    EXPECT_THROW(ReadPrefetchFile(dir.filePath(QStringLiteral("missing.dfc"))), EError);

    // An empty method still gives a trailer.
    WritePrefetchFile(file, TPrefetchTable{});
    EXPECT_EQ(ReadBytes(file), QByteArray(12, '\0'));
    EXPECT_TRUE(ReadPrefetchFile(file).Records.empty());
}

TEST(KeyCounter, CountsAcrossGrowthAndMerge) {
    TKeyCounter a, b;
    for (int i = 0; i < 5000; ++i) {
        a.Add(TStatKey::FromInts(i % 1000, i % 3), 1);
        b.Add(TStatKey::FromInts(i % 1000, i % 3), 2);
    }
    a.Add(TStatKey{}, 7); // the all-zero key is a value like any other
    a.Merge(b);
    const TPrefetchTable t = a.ToTable();
    EXPECT_EQ(t.Records.size(), 3000u);
    EXPECT_EQ(t.Total(), 5000 * 3 + 7);
    EXPECT_EQ(t.Records[0].Key, TStatKey{});
    for (size_t i = 1; i < t.Records.size(); ++i)
        EXPECT_LT(t.Records[i - 1].Key, t.Records[i].Key);
}

} // namespace
