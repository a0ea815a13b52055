#pragma once

#include <QDateTime>
#include <QList>
#include <QString>

#include <cstdint>

namespace lot {

/// One entry of the systems catalogue (a wheel over the abstract numbers 1..Nums).
struct tSystemInfo {
    int32_t Id = 0;    ///< catalogue id; 0 = not yet published; -1 = placeholder row
    uint8_t Nums = 0;  ///< N, the count of numbers the system uses (7..45)
    uint8_t Block = 0; ///< block size 0..5 ("olap" in the catalogue)
    int32_t CSize = 0; ///< number of combinations
    QString Title;
    QString Author;
    QString OwnerMail; ///< e-mail of the publishing user; decides ownership
    QString Description;
    QDateTime Created; ///< creation time in the catalogue, local time; invalid = not set
    int32_t Downloads = 0;
    QDateTime LastDownload; ///< invalid = never
    QString Url;
};

/// A catalogue entry with its content: the combination lines, one per line.
struct tSystemData {
    tSystemInfo Info;
    QString Content;
};

/// True when the entry belongs to the user: its owner e-mail equals the user's, ignoring case.
bool SystemIsOwn(const tSystemInfo &info, const QString &userMail);

/// The catalogue's system calls. The catalogue client implements them; every failure raises
/// `lot::EError` with the reason, which the caller wraps in its own error text.
class ISystemCatalogue {
public:
    virtual ~ISystemCatalogue() = default;
    /// The system list (combination length 6, at most 45 numbers).
    virtual QList<tSystemInfo> ListSystems() = 0;
    /// The combination lines of one system.
    virtual QString SystemContent(int32_t id) = 0;
    /// Saves (`deletion` false; id 0 publishes a new system) or deletes a system. Returns the id
    /// the catalogue answers: the system's id after saving, 0 after a deletion, -1 when none.
    virtual int32_t SaveSystem(const tSystemData &data, bool deletion) = 0;
};

} // namespace lot
