#pragma once
/// @file The catalogue's script records: an entry of the online scripts list, what the publish
/// dialog edits, and one user's rating.

#include <QDateTime>
#include <QString>

#include <cstdint>

namespace lot {

/// One catalogue script.
struct tScriptInfo {
    int32_t Id = 0;
    QString AuthorName;
    QString AuthorMail;
    int32_t Lcid = 0; ///< the script's language (Windows language id)
    QString AppName;
    QString AppVersion;
    bool Universal = false; ///< usable in any program of the family
    bool Public = false;
    QDateTime Created; ///< local time; invalid = not set
    double RatingAvg = 0;
    int32_t RatingCount = 0;
    int32_t RatingYou = 0; ///< the user's own rating: -1 hidden, 0 none, 1..5
    int32_t Downloads = 0;
    QDateTime LastDownload; ///< invalid = never
    QString Title;
    QString Description;
    bool Mine = false;       ///< the author e-mail is the user's, ignoring case
    bool Editable = false;   ///< mine and compatible
    bool Compatible = false; ///< universal, or written by this program
};

/// What the publish dialog edits.
struct tScriptData {
    int32_t Id = -1; ///< -1: never published
    QString AuthorName;
    int32_t Lcid = 0;
    bool Universal = false;
    bool Public = true;
    QString Title;
    QString Description;
};

/// One row of a script's ratings.
struct tScriptRate {
    QString Name;
    int32_t Rate = 0;
    QDateTime Created;
    QString AppName;
    QString AppVersion;
    QString Notes;
};

} // namespace lot
