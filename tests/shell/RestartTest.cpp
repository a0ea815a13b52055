#include "shell/Restart.h"

#include <gtest/gtest.h>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>

using namespace lot;

namespace {

// A copy of sleep(1) under a name no other process on the machine uses.
class RestartTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    QString exeName;
    QString exePath;

    void SetUp() override {
        const QString sleep = QStandardPaths::findExecutable(QStringLiteral("sleep"));
        if (sleep.isEmpty()) GTEST_SKIP() << "sleep(1) not installed";
        exeName = QStringLiteral("lot_wait_probe_%1").arg(QCoreApplication::applicationPid());
        exePath = dir.filePath(exeName);
        ASSERT_TRUE(QFile::copy(sleep, exePath));
    }
};

} // namespace

TEST_F(RestartTest, WaitsOnlyWhileAnotherInstanceRuns) {
    EXPECT_TRUE(FindOtherProcesses(exeName).isEmpty());
    EXPECT_TRUE(WaitForOtherInstances(exeName, 3, 1));

    QProcess probe;
    probe.start(exePath, {QStringLiteral("30")});
    ASSERT_TRUE(probe.waitForStarted());
    EXPECT_EQ(FindOtherProcesses(exeName), QList<qint64>({probe.processId()}));
    EXPECT_FALSE(WaitForOtherInstances(exeName, 3, 1));

    // An update replaces the executable while the old instance still runs.
    ASSERT_TRUE(QFile::remove(exePath));
    EXPECT_EQ(FindOtherProcesses(exeName).size(), 1);

    probe.kill();
    ASSERT_TRUE(probe.waitForFinished());
    EXPECT_TRUE(WaitForOtherInstances(exeName, 3, 1));
}

TEST_F(RestartTest, RestartStartsTheProgramWithTheRestartArgumentInItsFolder) {
    // A script stands in for the program: it records its argument and folder.
    const QString script = dir.filePath(QStringLiteral("fake_program"));
    const QString record = dir.filePath(QStringLiteral("record.txt"));
    QFile f(script);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(QStringLiteral("#!/bin/sh\necho \"$1 $(pwd)\" > '%1'\n").arg(record).toUtf8());
    f.close();
    ASSERT_TRUE(f.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));

    ASSERT_TRUE(Restart(script));
    // The detached process writes its record shortly; poll the file.
    QString text;
    for (int i = 0; i < 500 && text.isEmpty(); ++i) {
        QFile r(record);
        if (r.open(QIODevice::ReadOnly)) text = QString::fromUtf8(r.readAll()).trimmed();
        if (text.isEmpty()) QThread::msleep(10);
    }
    EXPECT_EQ(text, QStringLiteral("restart ") + QDir(dir.path()).canonicalPath());
    EXPECT_FALSE(Restart(dir.filePath(QStringLiteral("no_such_program"))));
}
