#include "core/WindowSettings.h"

#include "core/Codec1251.h"
#include "core/Errors.h"
#include "core/Format.h"

#include <QDir>
#include <QFile>

namespace lot {

namespace {
QString ListKey(const QString &list, const QString &suffix) {
    return list + QLatin1Char('.') + suffix;
}

QString ScreenKey(const QString &key, const QSize &screen) {
    return Format(QStringLiteral("%s_%dx%d"), {key, screen.width(), screen.height()});
}
} // namespace

void TWindowSettings::Load(const QString &fileName) {
    // A file that cannot be read is never written over: the store stays
    // detached from it and keeps the defaults.
    m_fileName.clear();
    m_ini = TIniFile();
    TIniFile ini;
    QFile file(fileName);
    if (file.exists()) {
        if (!file.open(QIODevice::ReadOnly))
            throw EError(
                Format(QStringLiteral("%s: %s"), {QDir::toNativeSeparators(fileName), file.errorString()}));
        ini.LoadFromText(FromCp1251(file.readAll()));
    }
    m_ini = std::move(ini);
    m_fileName = fileName;
}

void TWindowSettings::Save() const {
    if (m_fileName.isEmpty()) return;
    m_ini.SaveAs(m_fileName);
}

const QList<TSettingKey> &TWindowSettings::MainKeys() {
    static const QList<TSettingKey> keys = {
        {"LeftPanelWidth", 335, false},
        {"DrawsExclude", 0, false},
        {"DrawsStatLen", 1000, false},
        {"DrawsStatHeight", 131, false},
        {"DrawsGraphLen", 100, false},
        {"FiltersHeight", 127, false},
        {"LayoutLen", 100, false},
        {"LayoutCompareLen1", 50, false},
        {"LayoutCompareLen2", 100, false},
        {"LayoutCompareLen3", 200, false},
        {"LayoutCompareLen4", 300, false},
        {"LayoutCompareLen5", 400, false},
        {"LayoutCompareHeight", 257, false},
        {"WeekLen", 1000, false},
        {"WeekHeight", 131, false},
        {"WeekChartMode", 0, false},
        {"WeekChartType", 0, true},
        {"AutoUpdates", 1, true},
        {"DownloadDrawsOnStart", 0, false},
        {"ScriptLogEnabled", 0, true},
        {"StakesLogEnabled", 0, true},
        {"StakesScrollEnabled", 1, true},
        {"StakesCheckOnLine", 1, true},
        {"ColorDraws", 1, true},
        {"ColorCombs", 1, true},
        {"ColorCard", 1, true},
        {"ColorCardSequences", 1, true},
        {"LayoutGradient", 1, true},
        {"SortedDraws", 0, true},
        {"PrefetchsEnabled", 0, true},
        {"PrefetchsInit", 0, true},
        {"ShowTotalLine", 1, true},
        {"RatingsEffMode", 1, false},
        {"ScriptLibraryOn", 1, true},
        {"ScriptLibraryHeight", 223, false},
        {"ScriptLibraryFilter", 2, false},
        {"FirstRun", 0, true},
        {"TabGraphs", 1, true},
        {"TabCard", 1, true},
        {"TabLayout", 1, true},
        {"TabWeek", 1, true},
        {"TabTables", 1, true},
        {"SystemsEnabled", 1, true},
        {"Language", 1033, false},
    };
    return keys;
}

int TWindowSettings::DefaultOf(const QString &key) {
    for (const TSettingKey &k : MainKeys())
        if (key.compare(QLatin1String(k.Name), Qt::CaseInsensitive) == 0) return k.Default;
    return 0;
}

int TWindowSettings::ReadInt(const QString &section, const QString &key, int def) const {
    return m_ini.ReadInteger(section, key, def);
}

bool TWindowSettings::ReadBool(const QString &section, const QString &key, bool def) const {
    return m_ini.ReadBool(section, key, def);
}

void TWindowSettings::WriteInt(const QString &section, const QString &key, int value) {
    m_ini.WriteInteger(section, key, value);
}

void TWindowSettings::WriteSwitch(const QString &section, const QString &key, bool value) {
    m_ini.WriteBool(section, key, value);
    Save();
}

bool TWindowSettings::ApplyFirstStart() {
    if (PrefetchsInit()) return false;
    m_ini.WriteBool(MainSection(), QStringLiteral("PrefetchsInit"), true);
    m_ini.WriteBool(MainSection(), QStringLiteral("PrefetchsEnabled"), false);
    Save();
    return true;
}

QString TWindowSettings::RectToText(const TPlacementRect &r) {
    return Format(QStringLiteral("%d,%d,%d,%d"), {r.Left, r.Top, r.Right, r.Bottom});
}

bool TWindowSettings::TextToRect(const QString &text, TPlacementRect &r) {
    const QStringList parts = text.split(QLatin1Char(','));
    if (parts.size() != 4) return false;
    int v[4];
    for (int i = 0; i < 4; ++i) {
        bool ok = false;
        v[i] = parts[i].trimmed().toInt(&ok);
        if (!ok) return false;
    }
    r = TPlacementRect{v[0], v[1], v[2], v[3]};
    return true;
}

bool TWindowSettings::ReadPlacement(const QString &section, const QSize &screen,
                                    TWindowPlacement &placement) const {
    const QString norm = QStringLiteral("NormPos");
    const QString minMax = QStringLiteral("MinMaxPos");
    if (!m_ini.ValueExists(section, norm) && !m_ini.ValueExists(section, ScreenKey(norm, screen)))
        return false;
    TWindowPlacement p;
    p.Flags = m_ini.ReadInteger(section, QStringLiteral("Flags"), p.Flags);
    p.ShowCmd = m_ini.ReadInteger(section, QStringLiteral("ShowCmd"), p.ShowCmd);
    p.PixelsPerInch = m_ini.ReadInteger(section, QStringLiteral("PixelsPerInch"), p.PixelsPerInch);
    // The rectangle stored for this screen size wins; a malformed value
    // falls back to the general key, then to the default.
    for (const QString &key : {minMax, ScreenKey(minMax, screen)})
        TextToRect(m_ini.ReadString(section, key), p.MinMaxPos);
    for (const QString &key : {norm, ScreenKey(norm, screen)})
        TextToRect(m_ini.ReadString(section, key), p.NormPos);
    placement = p;
    return true;
}

void TWindowSettings::WritePlacement(const QString &section, const QSize &screen,
                                     const TWindowPlacement &placement) {
    m_ini.WriteInteger(section, QStringLiteral("Flags"), placement.Flags);
    m_ini.WriteInteger(section, QStringLiteral("ShowCmd"), placement.ShowCmd);
    m_ini.WriteInteger(section, QStringLiteral("PixelsPerInch"), placement.PixelsPerInch);
    const QString minMax = RectToText(placement.MinMaxPos);
    const QString norm = RectToText(placement.NormPos);
    m_ini.WriteString(section, QStringLiteral("MinMaxPos"), minMax);
    m_ini.WriteString(section, QStringLiteral("NormPos"), norm);
    m_ini.WriteString(section, ScreenKey(QStringLiteral("MinMaxPos"), screen), minMax);
    m_ini.WriteString(section, ScreenKey(QStringLiteral("NormPos"), screen), norm);
}

int TWindowSettings::ColumnWidth(const QString &section, const QString &list, int column, int def) const {
    return m_ini.ReadInteger(section, Format(QStringLiteral("%s.Column%d"), {list, column}), def);
}

void TWindowSettings::SetColumnWidth(const QString &section, const QString &list, int column, int width) {
    m_ini.WriteInteger(section, Format(QStringLiteral("%s.Column%d"), {list, column}), width);
}

QList<int> TWindowSettings::ColumnWidths(const QString &section, const QString &list,
                                         const QList<int> &defaults) const {
    QList<int> widths = defaults;
    for (int i = 0; i < widths.size(); ++i)
        widths[i] = ColumnWidth(section, list, i, widths[i]);
    return widths;
}

void TWindowSettings::SetColumnWidths(const QString &section, const QString &list, const QList<int> &widths) {
    for (int i = 0; i < widths.size(); ++i)
        SetColumnWidth(section, list, i, widths[i]);
}

bool TWindowSettings::GridLines(const QString &section, const QString &list, bool def) const {
    return m_ini.ReadBool(section, ListKey(list, QStringLiteral("GridLines")), def);
}

void TWindowSettings::SetGridLines(const QString &section, const QString &list, bool value) {
    m_ini.WriteBool(section, ListKey(list, QStringLiteral("GridLines")), value);
}

bool TWindowSettings::MultiSelect(const QString &section, const QString &list, bool def) const {
    return m_ini.ReadBool(section, ListKey(list, QStringLiteral("MultiSelect")), def);
}

void TWindowSettings::SetMultiSelect(const QString &section, const QString &list, bool value) {
    m_ini.WriteBool(section, ListKey(list, QStringLiteral("MultiSelect")), value);
}

int TWindowSettings::SortType(const QString &section, const QString &list, int def) const {
    return m_ini.ReadInteger(section, ListKey(list, QStringLiteral("SortType")), def);
}

void TWindowSettings::SetSortType(const QString &section, const QString &list, int value) {
    m_ini.WriteInteger(section, ListKey(list, QStringLiteral("SortType")), value);
}

} // namespace lot
