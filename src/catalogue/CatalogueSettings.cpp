#include "catalogue/CatalogueSettings.h"

#include "core/DataFolder.h"
#include "core/IniFile.h"

#include <QDir>
#include <QRandomGenerator>

namespace lot {

namespace {
const QString Section = QStringLiteral("CATALOGUE");
}

TCatalogueSettings ReadCatalogueSettings(const TIniFile &ini, const TDataFolder &files) {
    TCatalogueSettings s;
    s.Url = ini.ReadString(Section, QStringLiteral("Url")).trimmed();
    s.CaFile = ini.ReadString(Section, QStringLiteral("CaFile")).trimmed();
    if (!s.CaFile.isEmpty() && QDir::isRelativePath(s.CaFile)) s.CaFile = files.FilePath(s.CaFile);
    s.UserName = ini.ReadString(Section, QStringLiteral("UserName")).trimmed();
    s.UserMail = ini.ReadString(Section, QStringLiteral("UserMail")).trimmed();
    s.ClientKey = ini.ReadString(Section, QStringLiteral("ClientKey")).trimmed();
    return s;
}

TCatalogueSettings LoadCatalogueSettings(const TDataFolder &files) {
    TIniFile ini;
    ini.LoadForUpdate(files.IniFile());
    TCatalogueSettings s = ReadCatalogueSettings(ini, files);
    if (s.ClientKey.isEmpty() && !s.Url.isEmpty()) {
        s.ClientKey = NewClientKey();
        ini.WriteString(Section, QStringLiteral("ClientKey"), s.ClientKey);
        ini.Save();
    }
    return s;
}

void StoreCatalogueIdentity(const TDataFolder &files, const QString &name, const QString &mail) {
    TIniFile ini;
    ini.LoadForUpdate(files.IniFile());
    ini.WriteString(Section, QStringLiteral("UserName"), name.trimmed());
    ini.WriteString(Section, QStringLiteral("UserMail"), mail.trimmed());
    ini.Save();
}

QString NewClientKey() {
    QString key;
    for (int i = 0; i < 4; ++i)
        key += QStringLiteral("%1").arg(QRandomGenerator::system()->generate(), 8, 16, QLatin1Char('0'));
    return key;
}

} // namespace lot
