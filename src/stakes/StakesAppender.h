#pragma once
/// @file TStakesAppender: stakes appended to the stakes file through a
/// buffer, so a batch of millions of stakes costs a few large writes and
/// memory bounded by the buffer.

#include "stakes/StakeRec.h"

#include <vector>

namespace lot {

class TStakesFile;

/// Appends to the end of an open stakes file. Records wait in the buffer
/// until it is full or Flush() runs; what the file "ends with" (for the
/// separators of a multi-draw stake) includes the records still waiting.
/// Every failure raises EError; records of a failed write are not in the
/// file, and the file never ends in a partial record.
class TStakesAppender {
public:
    explicit TStakesAppender(TStakesFile &file, qsizetype bufferRecords = 4096);
    /// Writes what is still waiting, ignoring a failure (an operation that
    /// failed half-way keeps the stakes appended before the failure).
    ~TStakesAppender();
    TStakesAppender(const TStakesAppender &) = delete;
    TStakesAppender &operator=(const TStakesAppender &) = delete;

    /// AppendStakes of the stakes file: for fewer than 2 draws the template
    /// itself; otherwise, for i = 1..drawsCount, a separator when the file
    /// is not empty and its last record has a positive draw number, then a
    /// copy of the template for draw number + i - 1. Raises "Добавление в
    /// конец файла уже проверенной ставки!" for a checked template.
    void AppendStakes(const TStakeRec &tmpl, int drawsCount);
    /// One record as it is.
    void Append(const TStakeRec &rec);
    /// Writes the waiting records.
    void Flush();
    /// Records appended so far (written or waiting).
    qint64 Appended() const { return m_appended; }

private:
    TStakesFile &m_file;
    std::vector<TStakeRec> m_buffer;
    qsizetype m_capacity;
    bool m_empty = true;          ///< the file, with what waits, holds no record
    int32_t m_lastDrawNumber = 0; ///< draw number of its last record
    qint64 m_appended = 0;
};

} // namespace lot
