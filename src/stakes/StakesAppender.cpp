#include "stakes/StakesAppender.h"

#include "core/Errors.h"
#include "core/Messages.h"
#include "stakes/StakesFile.h"

#include <limits>

namespace lot {

TStakesAppender::TStakesAppender(TStakesFile &file, qsizetype bufferRecords)
    : m_file(file), m_capacity(std::max<qsizetype>(1, bufferRecords)) {
    m_buffer.reserve(size_t(m_capacity));
    const qint64 count = m_file.Count();
    if (count > 0) {
        m_empty = false;
        m_lastDrawNumber = m_file.ReadRecord(count - 1).DrawNumber;
    }
}

TStakesAppender::~TStakesAppender() {
    try {
        Flush();
    } catch (const std::exception &) {
    }
}

void TStakesAppender::Append(const TStakeRec &rec) {
    m_buffer.push_back(rec);
    m_empty = false;
    m_lastDrawNumber = rec.DrawNumber;
    ++m_appended;
    if (qsizetype(m_buffer.size()) >= m_capacity) Flush();
}

void TStakesAppender::AppendStakes(const TStakeRec &tmpl, int drawsCount) {
    if (!m_file.IsOpen()) throw EError(QString::fromUtf8(msg::StakesNotOpen));
    if (tmpl.Checked) throw EError(QStringLiteral("Добавление в конец файла уже проверенной ставки!"));
    if (drawsCount < 2) {
        Append(tmpl);
        return;
    }
    TStakeRec copy = tmpl;
    for (int i = 1; i <= drawsCount; ++i) {
        if (!m_empty && m_lastDrawNumber > 0) Append(SeparatorRecord());
        // Draw numbers past the largest int stop there instead of wrapping
        // into the separators' negative range.
        const qint64 number = qint64(tmpl.DrawNumber) + i - 1;
        copy.DrawNumber = int32_t(std::min<qint64>(number, std::numeric_limits<int32_t>::max()));
        Append(copy);
    }
}

void TStakesAppender::Flush() {
    if (m_buffer.empty()) return;
    // Emptied on every exit: records that failed to reach the file are not
    // retried by the destructor after their error was shown.
    struct TClear {
        std::vector<TStakeRec> &Buffer;
        ~TClear() { Buffer.clear(); }
    } clear{m_buffer};
    m_file.AppendRecords(m_buffer.data(), qint64(m_buffer.size()));
}

} // namespace lot
