#pragma once
/// @file The window settings store (".frm"): one ini section per window
/// class, the main window's keys with their defaults, window placement and
/// list-view column keys.

#include "core/IniFile.h"

#include <QList>
#include <QSize>
#include <QString>

namespace lot {

/// Four integers written as "%d,%d,%d,%d": a rectangle (left, top, right,
/// bottom) or, for MinMaxPos, the minimised and maximised positions.
struct TPlacementRect {
    int Left = 0;
    int Top = 0;
    int Right = 0;
    int Bottom = 0;
    friend bool operator==(const TPlacementRect &, const TPlacementRect &) = default;
};

/// Window placement as the window-state storage keeps it.
struct TWindowPlacement {
    int Flags = 0;
    int ShowCmd = 1; ///< 1 normal, 2 minimised, 3 maximised
    int PixelsPerInch = 96;
    TPlacementRect MinMaxPos{-1, -1, -1, -1};
    TPlacementRect NormPos;
    friend bool operator==(const TWindowPlacement &, const TWindowPlacement &) = default;
};

/// One integer or boolean key of the main window section with its default.
struct TSettingKey {
    const char *Name;
    int Default;
    bool IsBool;
};

/// The window settings file. Integer keys (sizes and lengths) change in
/// memory and reach the file with Save() at shutdown; boolean keys are
/// switches and are written to the file at once when set, which raises
/// EError when the file cannot be written. A missing or empty file gives
/// the defaults.
class TWindowSettings {
public:
    /// Section of the main window.
    static QString MainSection() { return QStringLiteral("TFormMain"); }

    TWindowSettings() = default;
    /// Reads fileName when it exists.
    explicit TWindowSettings(const QString &fileName) { Load(fileName); }

    void Load(const QString &fileName);
    /// Rewrites the file atomically; raises EError on failure. Without a file
    /// name (a store that was never loaded) it does nothing.
    void Save() const;
    const QString &FileName() const { return m_fileName; }
    TIniFile &Ini() { return m_ini; }
    const TIniFile &Ini() const { return m_ini; }

    /// Every key of the main window section with its default.
    static const QList<TSettingKey> &MainKeys();
    /// Default of a main window key; 0 for an unknown key.
    static int DefaultOf(const QString &key);

    // ---- generic access (any section) ----
    int ReadInt(const QString &section, const QString &key, int def) const;
    bool ReadBool(const QString &section, const QString &key, bool def) const;
    void WriteInt(const QString &section, const QString &key, int value);
    /// Writes the switch and saves the file at once.
    void WriteSwitch(const QString &section, const QString &key, bool value);

    // ---- the main window's keys (defaults from MainKeys()) ----
#define LOT_INT_SETTING(Name)                                                                                \
    int Name() const {                                                                                       \
        return ReadInt(MainSection(), QStringLiteral(#Name), DefaultOf(QStringLiteral(#Name)));              \
    }                                                                                                        \
    void Set##Name(int value) {                                                                              \
        WriteInt(MainSection(), QStringLiteral(#Name), value);                                               \
    }
#define LOT_BOOL_SETTING(Name)                                                                               \
    bool Name() const {                                                                                      \
        return ReadBool(MainSection(), QStringLiteral(#Name), DefaultOf(QStringLiteral(#Name)) != 0);        \
    }                                                                                                        \
    void Set##Name(bool value) {                                                                             \
        WriteSwitch(MainSection(), QStringLiteral(#Name), value);                                            \
    }

    LOT_INT_SETTING(LeftPanelWidth)
    LOT_INT_SETTING(DrawsExclude)
    LOT_INT_SETTING(DrawsStatLen)
    LOT_INT_SETTING(DrawsStatHeight)
    LOT_INT_SETTING(DrawsGraphLen)
    LOT_INT_SETTING(FiltersHeight)
    LOT_INT_SETTING(LayoutLen)
    LOT_INT_SETTING(LayoutCompareLen1)
    LOT_INT_SETTING(LayoutCompareLen2)
    LOT_INT_SETTING(LayoutCompareLen3)
    LOT_INT_SETTING(LayoutCompareLen4)
    LOT_INT_SETTING(LayoutCompareLen5)
    LOT_INT_SETTING(LayoutCompareHeight)
    LOT_INT_SETTING(WeekLen)
    LOT_INT_SETTING(WeekHeight)
    LOT_INT_SETTING(WeekChartMode)
    LOT_BOOL_SETTING(WeekChartType)
    LOT_BOOL_SETTING(AutoUpdates)
    LOT_INT_SETTING(DownloadDrawsOnStart)
    LOT_BOOL_SETTING(ScriptLogEnabled)
    LOT_BOOL_SETTING(StakesLogEnabled)
    LOT_BOOL_SETTING(StakesScrollEnabled)
    LOT_BOOL_SETTING(StakesCheckOnLine)
    LOT_BOOL_SETTING(ColorDraws)
    LOT_BOOL_SETTING(ColorCombs)
    LOT_BOOL_SETTING(ColorCard)
    LOT_BOOL_SETTING(ColorCardSequences)
    LOT_BOOL_SETTING(LayoutGradient)
    LOT_BOOL_SETTING(SortedDraws)
    LOT_BOOL_SETTING(PrefetchsEnabled)
    LOT_BOOL_SETTING(PrefetchsInit)
    LOT_BOOL_SETTING(ShowTotalLine)
    LOT_INT_SETTING(RatingsEffMode)
    LOT_BOOL_SETTING(ScriptLibraryOn)
    LOT_INT_SETTING(ScriptLibraryHeight)
    LOT_INT_SETTING(ScriptLibraryFilter)
    LOT_BOOL_SETTING(FirstRun)
    LOT_BOOL_SETTING(TabGraphs)
    LOT_BOOL_SETTING(TabCard)
    LOT_BOOL_SETTING(TabLayout)
    LOT_BOOL_SETTING(TabWeek)
    LOT_BOOL_SETTING(TabTables)
    LOT_BOOL_SETTING(SystemsEnabled)
    LOT_INT_SETTING(Language)

#undef LOT_INT_SETTING
#undef LOT_BOOL_SETTING

    /// The first-start rule: when PrefetchsInit is not set yet, writes
    /// PrefetchsInit = true and PrefetchsEnabled = false and saves. Returns
    /// whether this was the first start. Raises EError when the save fails.
    bool ApplyFirstStart();

    // ---- window placement ----
    /// "%d,%d,%d,%d"
    static QString RectToText(const TPlacementRect &r);
    /// False (and r untouched) unless text holds exactly four integers.
    static bool TextToRect(const QString &text, TPlacementRect &r);
    /// Reads the placement of a window; the rectangles for the given screen
    /// size ("NormPos_%dx%d", "MinMaxPos_%dx%d") win over the general ones.
    /// Returns false when the section holds no placement.
    bool ReadPlacement(const QString &section, const QSize &screen, TWindowPlacement &placement) const;
    /// Writes the general and the screen-size keys.
    void WritePlacement(const QString &section, const QSize &screen, const TWindowPlacement &placement);

    // ---- list-view keys ("%s.Column%d", "%s.GridLines", "%s.MultiSelect", "%s.SortType") ----
    int ColumnWidth(const QString &section, const QString &list, int column, int def) const;
    void SetColumnWidth(const QString &section, const QString &list, int column, int width);
    /// Widths of columns 0..count-1; a missing key keeps the entry of defaults.
    QList<int> ColumnWidths(const QString &section, const QString &list, const QList<int> &defaults) const;
    void SetColumnWidths(const QString &section, const QString &list, const QList<int> &widths);
    bool GridLines(const QString &section, const QString &list, bool def) const;
    void SetGridLines(const QString &section, const QString &list, bool value);
    bool MultiSelect(const QString &section, const QString &list, bool def) const;
    void SetMultiSelect(const QString &section, const QString &list, bool value);
    int SortType(const QString &section, const QString &list, int def) const;
    void SetSortType(const QString &section, const QString &list, int value);

private:
    QString m_fileName;
    TIniFile m_ini;
};

} // namespace lot
