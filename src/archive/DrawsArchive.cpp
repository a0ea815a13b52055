#include "archive/DrawsArchive.h"
#include "core/Messages.h"

#include "core/AtomicFile.h"
#include "core/CoreHelpers.h"
#include "core/Errors.h"
#include "core/Format.h"

#include <QFile>
#include <QFileInfo>
#include <QStringList>
#include <QtEndian>

#include <cmath>
#include <cstring>
#include <limits>

namespace lot {

namespace {

constexpr int RecordSize = int(sizeof(TDrawRec));
constexpr int DateCapacity = int(sizeof(TDrawRec{}.DrawDate.Chars));

[[noreturn]] void RaiseIndexNotFound(int index) {
    throw EError(Format(msg::RecordNotFound, {index}));
}

/// The bytes past the stored length are undefined in the file format; zeroing
/// them makes a load followed by a save reproducible byte for byte.
void NormaliseDate(TDrawRec &draw) {
    if (draw.DrawDate.Length > DateCapacity) draw.DrawDate.Length = uint8_t(DateCapacity);
    std::memset(draw.DrawDate.Chars + draw.DrawDate.Length, 0, size_t(DateCapacity - draw.DrawDate.Length));
}

} // namespace

bool HasValidNumbers(const TDrawRec &draw) {
    for (uint8_t n : draw.Numbers)
        if (!IsValidNumber(n)) return false;
    for (uint8_t n : draw.Extra)
        if (!IsValidNumber(n)) return false;
    return true;
}

int TDrawsArchive::PositionToIndex(int position) const {
    if (position < 0 || position >= Count()) return -1;
    return Count() - 1 - position;
}

const TDrawRec *TDrawsArchive::DrawAtPosition(int position) const {
    const int index = PositionToIndex(position);
    return index < 0 ? nullptr : &m_draws[size_t(index)];
}

void TDrawsArchive::SetOffset(int offset) {
    m_offset = offset < 0 ? 0 : offset;
}

void TDrawsArchive::Append(const TDrawRec &draw) {
    m_draws.push_back(draw);
}

void TDrawsArchive::Replace(int index, const TDrawRec &draw) {
    if (index < 0 || index >= Count()) RaiseIndexNotFound(index);
    m_draws[size_t(index)] = draw;
}

void TDrawsArchive::DeleteDrawAt(int index) {
    if (index < 0 || index >= Count()) RaiseIndexNotFound(index);
    m_draws.erase(m_draws.begin() + index);
}

void TDrawsArchive::ClearDraws() {
    m_draws.clear();
    m_draws.shrink_to_fit();
}

int TDrawsArchive::FindDrawIndex(int drawNumber) const {
    const int count = Count();
    if (count == 0) return -1;
    const int last = count - 1;
    const int64_t first = m_draws.front().DrawNumber;
    const int64_t lastNumber = m_draws.back().DrawNumber;
    if (first == drawNumber) return 0;
    if (lastNumber == drawNumber) return last;

    // Draw numbers are nearly evenly spaced, so the guess usually lands on
    // the draw or next to it. Floating point keeps extreme numbers from
    // overflowing; an empty span (last = first - 1) is no guess at all.
    int guess = last;
    const int64_t span = lastNumber - first + 1;
    if (span != 0) {
        const double g = std::trunc(double(count) * double(drawNumber - first) / double(span));
        if (g >= 0 && g <= double(last)) guess = int(g);
    }
    if (m_draws[size_t(guess)].DrawNumber < drawNumber) {
        for (int i = guess; i <= last; ++i)
            if (m_draws[size_t(i)].DrawNumber == drawNumber) return i;
    } else {
        for (int i = guess; i >= 0; --i)
            if (m_draws[size_t(i)].DrawNumber == drawNumber) return i;
    }
    for (int i = last; i >= 0; --i)
        if (m_draws[size_t(i)].DrawNumber == drawNumber) return i;
    return -1;
}

int TDrawsArchive::NextDrawNumber(int position) const {
    if (IsEmpty()) return 1;
    const TDrawRec *draw = DrawAtPosition(position);
    if (!draw) return -1;
    const int64_t next = int64_t(draw->DrawNumber) + 2;
    return next > std::numeric_limits<int32_t>::max() ? std::numeric_limits<int32_t>::max() : int(next);
}

TComb TDrawsArchive::DrawNumbersAt(int position) const {
    TComb comb;
    if (const TDrawRec *draw = DrawAtPosition(position)) std::memcpy(comb.N, draw->Numbers, sizeof(comb.N));
    return comb;
}

int32_t TDrawsArchive::DrawDateIntAt(int position, int days) const {
    const TDrawRec *draw = DrawAtPosition(position);
    if (!draw) return NoDrawDateInt;
    // An unknown date must not turn into day zero of the calendar: the
    // download would then walk every month since 1899.
    const QString text = DrawDateText(*draw).trimmed();
    if (text.isEmpty()) return NoDrawDateInt;
    const QDate date = DrawTextToDate(text);
    if (!date.isValid()) return NoDrawDateInt;
    return DateToInt(date.addDays(days));
}

QList<int> TDrawsArchive::NextDrawSet() const {
    QList<int> numbers;
    if (m_offset <= 0) return numbers;
    if (const TDrawRec *draw = DrawAtPosition(m_offset - 1))
        for (uint8_t n : draw->Numbers)
            numbers.append(n);
    return numbers;
}

void TDrawsArchive::LoadDrawsFromBytes(const QByteArray &bytes) {
    const qsizetype whole = bytes.size() / RecordSize;
    const qsizetype partial = bytes.size() % RecordSize;
    TDrawsArray draws;
    draws.reserve(size_t(whole));
    int skipped = 0;
    for (qsizetype i = 0; i < whole; ++i) {
        TDrawRec draw;
        std::memcpy(&draw, bytes.constData() + i * RecordSize, size_t(RecordSize));
        draw.DrawNumber = qFromLittleEndian(draw.DrawNumber);
        if (!HasValidNumbers(draw)) {
            ++skipped;
            continue;
        }
        NormaliseDate(draw);
        draws.push_back(draw);
    }
    m_draws = std::move(draws);

    QStringList problems;
    if (partial != 0)
        problems << Format("Размер файла (%d байт) не кратен размеру записи (%d байт): "
                           "неполная последняя запись пропущена.",
                           {qlonglong(bytes.size()), RecordSize});
    if (skipped != 0) problems << Format("Пропущено записей с числами вне диапазона 1..45: %d.", {skipped});
    m_loadedWithLosses = !problems.isEmpty();
    if (!problems.isEmpty()) throw EError(problems.join(QStringLiteral("\r")));
}

void TDrawsArchive::LoadDrawsFile(const QString &fileName) {
    m_draws.clear();
    m_loadedWithLosses = false;
    QFile file(fileName);
    if (!file.exists()) return;
    if (!file.open(QIODevice::ReadOnly)) throw EError(file.errorString());
    const qint64 limit = qint64(MaxDrawsFileRecords) * RecordSize;
    const bool tooLarge = file.size() > limit;
    const QByteArray bytes = file.read(tooLarge ? limit : file.size());
    if (file.error() != QFileDevice::NoError) throw EError(file.errorString());
    if (!tooLarge) {
        LoadDrawsFromBytes(bytes);
        return;
    }
    QString problems;
    try {
        LoadDrawsFromBytes(bytes);
    } catch (const EError &e) {
        problems = e.Message() + QStringLiteral("\r");
    }
    m_loadedWithLosses = true;
    throw EError(problems +
                 Format("Файл тиражей больше %d записей: остаток файла не прочитан.", {MaxDrawsFileRecords}));
}

QByteArray TDrawsArchive::DrawsToBytes(const TDrawsArray &draws) {
    QByteArray bytes(qsizetype(draws.size()) * RecordSize, Qt::Uninitialized);
    char *out = bytes.data();
    for (const TDrawRec &draw : draws) {
        TDrawRec record = draw;
        record.DrawNumber = qToLittleEndian(record.DrawNumber);
        std::memcpy(out, &record, size_t(RecordSize));
        out += RecordSize;
    }
    return bytes;
}

void TDrawsArchive::SaveDrawsFile(const QString &fileName) {
    if (m_loadedWithLosses && QFileInfo::exists(fileName))
        BackupFile(fileName, Format(QStringLiteral("Нет свободного имени для копии файла тиражей \"%s\"."),
                                    {fileName}));
    WriteFileAtomically(fileName, DrawsToBytes(m_draws));
    m_loadedWithLosses = false;
}

} // namespace lot
