#include "stakes/StakeLog.h"

#include "core/Codec1251.h"
#include "core/CoreHelpers.h"
#include "core/Format.h"
#include "core/Host.h"
#include "core/Lottery.h"
#include "core/Messages.h"
#include "core/Money.h"

#include <QDir>
#include <QFileInfo>

namespace lot {

TStakeLog::TStakeLog(IHost &host, const QString &dir)
    : m_host(host), m_dir(dir), m_clock([] { return QDateTime::currentDateTime(); }) {}

TStakeLog::~TStakeLog() = default;

QString TStakeLog::FileName(const QString &dir, int overlaps) {
    return QDir(dir).filePath(Format(QStringLiteral("%s-%d.log"), {QLatin1String(ProgramName), overlaps}));
}

QString TStakeLog::FileMask() {
    return QLatin1String(ProgramName) + QStringLiteral("-*.log");
}

QString TStakeLog::LineText(const QDateTime &time, const TStakeRec &rec) {
    // The profit goes in as text: the money's own two decimals, exact where
    // a double would round 0.005 either way.
    return time.toString(QStringLiteral("yyyy.MM.dd hh:mm:ss")) + QStringLiteral(": ") +
           Format(QStringLiteral("Тираж № %s. Ставка: \"%s\" [%s] {%d}. Результаты тиража: [%s]. "
                                 "Совпадений: %d. Профит: %s."),
                  {QString::number(rec.DrawNumber), StakeComment(rec), NumberSetToText(rec.Numbers, ";"),
                   rec.Sample, StakeDrawResultText(rec), rec.Overlaps.Count,
                   TMoney::FromUnits(rec.Profit).ToText()});
}

void TStakeLog::DeleteOversized(TOpenLog &log, const QString &name) {
    if (log.File) log.File->close();
    log.File.reset();
    QFile file(name);
    if (!file.remove())
        m_host.ShowError(Format(QStringLiteral("Ошибка удаления файла \"%s\"!\r\r%s"),
                                {QDir::toNativeSeparators(name), file.errorString()}));
}

bool TStakeLog::Open(TOpenLog &log, const QString &name) {
    if (QFileInfo(name).size() > MaxLogSize) DeleteOversized(log, name);
    log.File = std::make_unique<QFile>(name);
    if (!log.File->open(QIODevice::WriteOnly | QIODevice::Append)) {
        m_host.ShowError(
            Format(msg::FileWriteError, {QDir::toNativeSeparators(name), log.File->errorString()}));
        log.File.reset();
        log.Failed = true;
        return false;
    }
    log.Size = log.File->size();
    return true;
}

void TStakeLog::Write(const TStakeRec &rec) {
    const int overlaps = rec.Overlaps.Count;
    if (!rec.Checked || overlaps < 0 || overlaps >= int(m_logs.size())) return;
    TOpenLog &log = m_logs[size_t(overlaps)];
    if (log.Failed) return;
    const QString name = FileName(m_dir, overlaps);
    if (log.File && log.Size > MaxLogSize) DeleteOversized(log, name);
    if (!log.File && !Open(log, name)) return;
    const QByteArray line = ToCp1251(LineText(m_clock(), rec) + QStringLiteral("\r\n"));
    // Each line reaches the file at once: a log is read while the program runs.
    if (log.File->write(line) != line.size() || !log.File->flush()) {
        m_host.ShowError(
            Format(msg::FileWriteError, {QDir::toNativeSeparators(name), log.File->errorString()}));
        log.Failed = true;
        return;
    }
    log.Size += line.size();
}

TStakeLogsDeleted TStakeLog::DeleteLogs(const QString &dir) {
    TStakeLogsDeleted result;
    const QDir folder(dir);
    for (const QFileInfo &info :
         folder.entryInfoList({FileMask()}, QDir::Files | QDir::Hidden | QDir::System)) {
        ++result.Found;
        QFile file(info.absoluteFilePath());
        if (file.remove())
            ++result.Deleted;
        else
            result.Failed << info.fileName() + QStringLiteral(": ") + file.errorString();
    }
    return result;
}

} // namespace lot
