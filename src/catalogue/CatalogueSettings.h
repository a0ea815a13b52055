#pragma once
/// @file Section CATALOGUE of the game settings file: where the catalogue is, the extra
/// certificates it may be trusted by, the user's identity and the installation's key.

#include <QString>

namespace lot {

class TDataFolder;
class TIniFile;

struct TCatalogueSettings {
    /// Scheme, host, optional port and path of the catalogue, e.g. "https://catalogue.example.org";
    /// the call paths ("/scripts/...") are appended. Empty: no catalogue.
    QString Url;
    /// A PEM file of certificates trusted beside the system's (relative: in the data folder).
    QString CaFile;
    QString UserName;
    QString UserMail;
    /// A random key made once per installation and sent with every change, so that the server
    /// can tie an e-mail to the installation that first used it.
    QString ClientKey;

    bool HasIdentity() const { return !UserName.trimmed().isEmpty() && !UserMail.trimmed().isEmpty(); }
};

/// Reads section CATALOGUE; a relative CaFile is taken in the data folder of files.
TCatalogueSettings ReadCatalogueSettings(const TIniFile &ini, const TDataFolder &files);
/// The settings of the data folder's "Brantlee_6x45.ini". When a catalogue is set and the
/// installation has no key yet, one is made and written at once (only key ClientKey is touched). Raises
/// EError when the file cannot be read or written.
TCatalogueSettings LoadCatalogueSettings(const TDataFolder &files);
/// Writes UserName and UserMail of section CATALOGUE, leaving everything else of the file as it
/// is. Raises EError on failure.
void StoreCatalogueIdentity(const TDataFolder &files, const QString &name, const QString &mail);
/// A new installation key: 32 hexadecimal digits from the system's random source.
QString NewClientKey();

} // namespace lot
