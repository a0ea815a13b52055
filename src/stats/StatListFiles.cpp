// TStatList: the game settings file and the filter list file.

#include "core/Errors.h"
#include "core/Format.h"
#include "core/IniFile.h"
#include "core/Messages.h"
#include "stats/StatList.h"

#include <cmath>
#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace lot {

namespace {

const QString Global = QStringLiteral("GLOBAL");
const QString Stakes = QStringLiteral("STAKES");
const QString Cdl = QStringLiteral("CDL");
const QString ShreddingSection = QStringLiteral("SHREDDING");
const QString Filters = QStringLiteral("FILTERS");

/// Prize rows beyond this are not read: the overlap is a byte.
const int MaxProfitRows = 256;

int ReadBounded(const TIniFile &ini, const QString &section, const QString &key, int def, int min, int max) {
    const int v = ini.ReadInteger(section, key, def);
    return v >= min && v <= max ? v : def;
}

long double ReadCoef(const TIniFile &ini, const QString &key, long double def) {
    return ini.ReadFloat(Cdl, key, double(def));
}

TMoney ReadMoney(const TIniFile &ini, const QString &section, const QString &key) {
    return TMoney::FromDouble(ini.ReadFloat(section, key, 0.0));
}

} // namespace

void TStatList::Fail(const char *format, const std::exception &e) {
    throw EError(Format(QString::fromUtf8(format), {ExceptionText(e)}));
}

bool TStatList::ReadIniFile(TIniFile &ini, const QString &fileName) {
    ini.LoadForUpdate(fileName);
    return true;
}

// ---- game settings ------------------------------------------------------------------

void TStatList::ReadSettings(const TIniFile &ini) {
    TConfigData &c = m_config;
    // Out-of-range sizes would divide by zero or index past the matrix in the
    // matrix and channel methods; they read as the defaults.
    c.MatrixCols = ReadBounded(ini, Global, QStringLiteral("MatrixCols"), 5, MatrixColsMin, MatrixColsMax);
    c.MatrixSegments = TextToSegmentMap(ini.ReadString(Global, QStringLiteral("MatrixSegments")));
    for (uint8_t &s : c.MatrixSegments)
        if (s < SegmentMin) s = 1; // segments are 1..9; "0" is not one
    c.ChannelSize =
        ReadBounded(ini, Global, QStringLiteral("ChannelSize"), 5, ChannelSizeMin, ChannelSizeMax);

    c.Cost = ReadMoney(ini, Stakes, QStringLiteral("Cost"));
    c.MaxStake = ini.ReadInteger(Stakes, QStringLiteral("MaxStake"), 6);
    const int rows = std::clamp(ini.ReadInteger(Stakes, QStringLiteral("Profits"), 0), 0, MaxProfitRows);
    c.Profits.clear();
    for (int i = 0; i < rows; ++i) {
        TProfitItem p;
        p.Overlap =
            uint8_t(ReadBounded(ini, Stakes, Format(QStringLiteral("Profit_%d_Overlap"), {i}), 0, 0, 255));
        p.Prize = ReadMoney(ini, Stakes, Format(QStringLiteral("Profit_%d_Profit"), {i}));
        c.Profits.push_back(p);
    }

    TWeightCoefs &w = c.WeightCoefs;
    const TWeightCoefs def;
    w.Count = ReadCoef(ini, QStringLiteral("Count"), def.Count);
    w.Deviation = ReadCoef(ini, QStringLiteral("Deviation"), def.Deviation);
    w.Level = ReadCoef(ini, QStringLiteral("Level"), def.Level);
    w.UsePercents = ini.ReadInteger(Cdl, QStringLiteral("UsePercents"), 0) > 0;
    w.UseAbsValues = ini.ReadInteger(Cdl, QStringLiteral("UseAbsValues"), 0) > 0;
}

void TStatList::WriteSettings(TIniFile &ini) const {
    const TConfigData &c = m_config;
    ini.WriteInteger(Global, QStringLiteral("MatrixCols"), c.MatrixCols);
    ini.WriteString(Global, QStringLiteral("MatrixSegments"), SegmentMapToText(c.MatrixSegments));
    ini.WriteInteger(Global, QStringLiteral("ChannelSize"), c.ChannelSize);

    ini.WriteString(Stakes, QStringLiteral("Cost"), c.Cost.ToIniText());
    ini.WriteInteger(Stakes, QStringLiteral("MaxStake"), c.MaxStake);
    ini.WriteInteger(Stakes, QStringLiteral("Profits"), int(c.Profits.size()));
    for (int i = 0; i < int(c.Profits.size()); ++i) {
        ini.WriteInteger(Stakes, Format(QStringLiteral("Profit_%d_Overlap"), {i}),
                         c.Profits[size_t(i)].Overlap);
        ini.WriteString(Stakes, Format(QStringLiteral("Profit_%d_Profit"), {i}),
                        c.Profits[size_t(i)].Prize.ToIniText());
    }

    const TWeightCoefs &w = c.WeightCoefs;
    ini.WriteFloat(Cdl, QStringLiteral("Count"), double(w.Count));
    ini.WriteFloat(Cdl, QStringLiteral("Deviation"), double(w.Deviation));
    ini.WriteFloat(Cdl, QStringLiteral("Level"), double(w.Level));
    ini.WriteInteger(Cdl, QStringLiteral("UsePercents"), w.UsePercents ? 1 : 0);
    ini.WriteInteger(Cdl, QStringLiteral("UseAbsValues"), w.UseAbsValues ? 1 : 0);
}

void TStatList::ReadCombsGenerate(const TIniFile &ini) {
    m_combsGenerateMode = uint8_t(ReadBounded(ini, Global, QStringLiteral("CombsGenerateMode"), 0, 0, 255));
    SetCombsGenerateParameters(ini.ReadString(Global, QStringLiteral("CombsGenerateParameters")));
}

void TStatList::WriteCombsGenerate(TIniFile &ini) const {
    ini.WriteInteger(Global, QStringLiteral("CombsGenerateMode"), m_combsGenerateMode);
    ini.WriteString(Global, QStringLiteral("CombsGenerateParameters"), m_combsGenerateParameters);
}

void TStatList::ReadShredding(const TIniFile &ini) {
    const TShreddingData def;
    TShreddingData &s = m_shredding;
    s.Formula1 = ini.ReadString(ShreddingSection, QStringLiteral("Formula1"), def.Formula1);
    s.Formula2 = ini.ReadString(ShreddingSection, QStringLiteral("Formula2"), def.Formula2);
    s.Formula3 = ini.ReadString(ShreddingSection, QStringLiteral("Formula3"), def.Formula3);
    s.Formula1Digits =
        ReadBounded(ini, ShreddingSection, QStringLiteral("Formula1Digits"), def.Formula1Digits, 0, 255);
    s.Formula2Digits =
        ReadBounded(ini, ShreddingSection, QStringLiteral("Formula2Digits"), def.Formula2Digits, 0, 255);
    s.Formula3Digits =
        ReadBounded(ini, ShreddingSection, QStringLiteral("Formula3Digits"), def.Formula3Digits, 0, 255);
}

void TStatList::WriteShredding(TIniFile &ini) const {
    const TShreddingData &s = m_shredding;
    ini.WriteString(ShreddingSection, QStringLiteral("Formula1"), s.Formula1);
    ini.WriteString(ShreddingSection, QStringLiteral("Formula2"), s.Formula2);
    ini.WriteString(ShreddingSection, QStringLiteral("Formula3"), s.Formula3);
    ini.WriteInteger(ShreddingSection, QStringLiteral("Formula1Digits"), s.Formula1Digits);
    ini.WriteInteger(ShreddingSection, QStringLiteral("Formula2Digits"), s.Formula2Digits);
    ini.WriteInteger(ShreddingSection, QStringLiteral("Formula3Digits"), s.Formula3Digits);
}

namespace {
const char *const FilterListReadError = "Ошибка загрузки списка фильтров!\r\r%s";
const char *const FilterListWriteError = "Ошибка сохранения списка фильтров!\r\r%s";
} // namespace

void TStatList::LoadSettings() {
    try {
        TIniFile ini;
        ReadIniFile(ini, SettingsFileName());
        ReadSettings(ini);
    } catch (const std::exception &e) {
        Fail(msg::ConfigReadError, e);
    }
}

void TStatList::SaveSettings() {
    try {
        TIniFile ini;
        ReadIniFile(ini, SettingsFileName());
        WriteSettings(ini);
        ini.Save();
    } catch (const std::exception &e) {
        Fail(msg::ConfigWriteError, e);
    }
}

void TStatList::LoadCombsGenerate() {
    try {
        TIniFile ini;
        ReadIniFile(ini, SettingsFileName());
        ReadCombsGenerate(ini);
    } catch (const std::exception &e) {
        Fail(msg::ConfigReadError, e);
    }
}

void TStatList::SaveCombsGenerate() {
    try {
        TIniFile ini;
        ReadIniFile(ini, SettingsFileName());
        WriteCombsGenerate(ini);
        ini.Save();
    } catch (const std::exception &e) {
        Fail(msg::ConfigWriteError, e);
    }
}

void TStatList::LoadShredding() {
    try {
        TIniFile ini;
        ReadIniFile(ini, SettingsFileName());
        ReadShredding(ini);
    } catch (const std::exception &e) {
        Fail(msg::ConfigReadError, e);
    }
}

void TStatList::SaveShredding() {
    try {
        TIniFile ini;
        ReadIniFile(ini, SettingsFileName());
        WriteShredding(ini);
        ini.Save();
    } catch (const std::exception &e) {
        Fail(msg::ConfigWriteError, e);
    }
}

// ---- filter list file ------------------------------------------------------------------

void TStatList::LoadFilterList(const QString &fileName, bool withOptions) {
    try {
        TIniFile ini;
        ReadIniFile(ini, fileName);
        if (withOptions) {
            ApplyFavorites(ini.ReadString(Filters, QStringLiteral("Favorites"), FavoritesText()));
            m_ordered = ini.ReadBool(Filters, QStringLiteral("Ordered"), m_ordered);
            m_showGroupName = ini.ReadBool(Filters, QStringLiteral("ShowGroupName"), m_showGroupName);
            m_showMethodFlags = ini.ReadBool(Filters, QStringLiteral("ShowMethodFlags"), m_showMethodFlags);
        }
        const QString section = CaptionsSection();
        for (int i = 0; i < Count(); ++i)
            m_methods[size_t(i)]->CustomCaption = ini.ReadString(section, EntryCode(i)).trimmed();
    } catch (const std::exception &e) {
        Fail(FilterListReadError, e);
    }
}

void TStatList::SaveFilterList(const QString &fileName, bool withOptions, bool allCaptions) {
    try {
        TIniFile ini;
        ReadIniFile(ini, fileName);
        if (withOptions) {
            ini.WriteString(Filters, QStringLiteral("Favorites"), FavoritesText());
            ini.WriteBool(Filters, QStringLiteral("Ordered"), m_ordered);
            ini.WriteBool(Filters, QStringLiteral("ShowGroupName"), m_showGroupName);
            ini.WriteBool(Filters, QStringLiteral("ShowMethodFlags"), m_showMethodFlags);
        }
        const QString section = CaptionsSection();
        ini.EraseSection(section);
        for (int i = 0; i < Count(); ++i) {
            const TStatMethod &m = *m_methods[size_t(i)];
            if (!m.CustomCaption.isEmpty())
                ini.WriteString(section, EntryCode(i), m.CustomCaption);
            else if (allCaptions)
                ini.WriteString(section, EntryCode(i), m.StatClass->Caption(m.Param));
        }
        ini.SaveAs(fileName);
    } catch (const std::exception &e) {
        Fail(FilterListWriteError, e);
    }
}

} // namespace lot
