#pragma once
/// @file The method registry: one entry per method class and parameter in a
/// fixed order, per-entry user settings (favourite, custom caption, shredding
/// formula), the game settings and the two files that keep them: the game
/// settings file "<program>.ini" and the filter list file "<program>.flt".

#include "core/Money.h"
#include "stats/ConfigData.h"
#include "stats/CustomStat.h"

#include <memory>
#include <QList>
#include <QString>
#include <vector>

namespace lot {

class IHost;
class TDrawsArchive;
class TIniFile;

/// One registry entry.
struct TStatMethod {
    const TStatClass *StatClass = nullptr;
    int Param = 0;
    bool Selected = true;  ///< in the user's favourite list
    QString CustomCaption; ///< empty: the class caption
    QString Formula;       ///< group 12 only: the shredding formula of this entry
};

/// Shredding formulas and the decimal digits each keeps (section SHREDDING).
struct TShreddingData {
    QString Formula1 = QStringLiteral("(n1+n2+n3)/(n4+n5+n6)");
    QString Formula2 = QStringLiteral("(n4+n5+n6)/(n1+n2+n3)");
    QString Formula3 = QStringLiteral("(n1+n3+n5)/(n2+n4+n6)");
    int Formula1Digits = 2;
    int Formula2Digits = 2;
    int Formula3Digits = 2;

    /// Formula of parameter 1..3; empty otherwise.
    QString Formula(int param) const;
    /// Digits of parameter 1..3; 0 otherwise.
    int Digits(int param) const;
    friend bool operator==(const TShreddingData &, const TShreddingData &) = default;
};

/// One item of a method selector: the entry it carries and its text.
struct TSelectorItem {
    int Entry = -1;
    QString Caption;
};

/// What the statistics tab's two method selectors hold.
struct TStatSelectors {
    bool Sorted = false;             ///< the items are sorted by caption
    QList<TSelectorItem> Statistics; ///< the statistics table selector
    QList<TSelectorItem> Graphs;     ///< the graphs selector (graph methods only)
};

/// The registry. Exactly one exists for the whole run; method instances read
/// the archive through it. Entries are recreated by RegisterAll, so hold
/// codes, not entry pointers, across a re-registration.
///
/// The file operations raise EError carrying the message the user is to see
/// ("Ошибка чтения файла конфигурации!\r\r..."); the statistics controller
/// is their error boundary.
class TStatList {
public:
    /// dataDir holds the settings and filter list files ("" = current folder).
    explicit TStatList(const TDrawsArchive *archive = nullptr, const QString &dataDir = QString());
    ~TStatList();
    TStatList(const TStatList &) = delete;
    TStatList &operator=(const TStatList &) = delete;

    // ---- environment ----
    void SetArchive(const TDrawsArchive *archive) { m_archive = archive; }
    const TDrawsArchive *Archive() const { return m_archive; }
    /// The archive's draws, oldest first; empty without an archive.
    const TDrawsArray &DrawsArray() const;
    void SetDataDir(const QString &dir) { m_dataDir = dir; }
    const QString &DataDir() const { return m_dataDir; }
    /// "<dataDir>/Brantlee_6x45.ini".
    QString SettingsFileName() const;
    /// "<dataDir>/Brantlee_6x45.flt".
    QString FilterListFileName() const;
    /// Path of the compiled help file; empty when none is known.
    void SetHelpFile(const QString &path) { m_helpFile = path; }
    const QString &HelpFile() const { return m_helpFile; }
    /// Three-letter abbreviation of the interface language ("RUS").
    void SetLanguageAbbrev(const QString &abbrev) { m_languageAbbrev = abbrev; }
    const QString &LanguageAbbrev() const { return m_languageAbbrev; }
    /// "STRINGS_RUS": the custom-caption section of the filter list file.
    QString CaptionsSection() const;

    // ---- entries ----
    int Count() const { return int(m_methods.size()); }
    /// Entry i; raises EError outside 0..Count()-1.
    const TStatMethod &Items(int i) const;
    TStatMethod &Items(int i);
    bool IsEnabled(int i) const { return Items(i).StatClass->Enabled(); }
    bool IsShownInStatistics(int i) const { return Items(i).StatClass->ShowInStatistics(); }
    bool HasGraph(int i) const { return Items(i).StatClass->HasGraph(); }
    bool CanPrefetch(int i) const { return Items(i).StatClass->CanPrefetch(); }
    /// AllSelected or the entry is a favourite.
    bool IsListed(int i) const { return m_allSelected || Items(i).Selected; }
    QString EntryCode(int i) const;
    /// The custom caption or the class caption; group 12 then takes the formula.
    QString EntryCaption(int i) const;
    /// EntryCaption with the group short name and, withFlags, the flag letters.
    QString DisplayCaption(int i, bool withFlags) const;
    QString EntryHelpUrl(int i) const;
    /// Entry with this code (case-insensitive); -1 when none.
    int FindEntry(const QString &code) const;
    /// Index of an entry of this registry; -1 when it is not one.
    int IndexOf(const TStatMethod *entry) const;
    /// A new instance of entry i; the caller owns it. Raises EError for a bad index.
    std::unique_ptr<TCustomStat> CreateStat(int i) const;
    /// CreateStat of the entry a selector carries; raises "Не выбран метод
    /// расчета статистики (cb: %s)!" with the selector's name when entry < 0.
    std::unique_ptr<TCustomStat> StatForCombo(int entry, const QString &selectorName) const;

    /// Registers the fixed class list (see StatClassList.h).
    void RegisterAll();
    /// Registers the given classes in order (RegisterAll's work).
    void RegisterClasses(const std::vector<const TStatClass *> &classes);

    /// The items of the statistics and graphs selectors, sorted by caption
    /// when Ordered.
    TStatSelectors SelectorItems() const;
    /// The index a selector selects after a refill: the previous one when
    /// the refill keeps it, else the first; -1 when that index does not exist.
    static int SelectorIndexAfterRefill(int previousIndex, bool keepSelection, int count);
    /// After a change of the game settings: registers again and selects all.
    /// The caller saves the filter list before and loads it after (see
    /// TStatsController::Reregister).
    void RegisterAgain();

    /// The fast paths that keyed methods derive on top of their plain
    /// derived operations (KeyedStat.h); on by default. Benchmarks and tests
    /// switch them off to measure and check the plain path.
    bool FastPaths() const { return m_fastPaths; }
    void SetFastPaths(bool on) { m_fastPaths = on; }

    // ---- display options and favourites ----
    bool Ordered() const { return m_ordered; }
    void SetOrdered(bool on) { m_ordered = on; }
    bool ShowGroupName() const { return m_showGroupName; }
    void SetShowGroupName(bool on) { m_showGroupName = on; }
    bool ShowMethodFlags() const { return m_showMethodFlags; }
    void SetShowMethodFlags(bool on) { m_showMethodFlags = on; }
    bool AllSelected() const { return m_allSelected; }
    void SelectAll();
    /// Equal states everywhere: AllSelected, and all on when all were off.
    void NormalizeSelection();
    /// Codes of the favourites joined by ","; empty when AllSelected.
    QString FavoritesText() const;
    void ApplyFavorites(const QString &text);

    // ---- filter list file ----
    void LoadFilterList(const QString &fileName, bool withOptions);
    void SaveFilterList(const QString &fileName, bool withOptions, bool allCaptions);

    // ---- game settings ----
    const TConfigData &Config() const { return m_config; }
    void SetConfig(const TConfigData &config) { m_config = config; }
    int MatrixCols() const { return m_config.MatrixCols; }
    int ChannelSize() const { return m_config.ChannelSize; }
    const TSegmentMap &MatrixSegments() const { return m_config.MatrixSegments; }
    TMoney Cost() const { return m_config.Cost; }
    const TWeightCoefs &WeightCoefs() const { return m_config.WeightCoefs; }
    void SetWeightCoefs(const TWeightCoefs &coefs) { m_config.WeightCoefs = coefs; }
    const TWeightCoefs &SavedWeightCoefs() const { return m_savedWeightCoefs; }
    int CombsGenerateMode() const { return m_combsGenerateMode; }
    void SetCombsGenerateMode(int mode) { m_combsGenerateMode = uint8_t(mode); }
    const QString &CombsGenerateParameters() const { return m_combsGenerateParameters; }
    /// Cut to 255 characters.
    void SetCombsGenerateParameters(const QString &text);
    const TShreddingData &Shredding() const { return m_shredding; }
    void SetShredding(const TShreddingData &data) { m_shredding = data; }

    /// GLOBAL (matrix, segments, channels), STAKES and CDL. A read error
    /// leaves the values read before it in effect.
    void LoadSettings();
    void SaveSettings();
    /// CombsGenerateMode and CombsGenerateParameters of GLOBAL.
    void LoadCombsGenerate();
    void SaveCombsGenerate();
    /// Section SHREDDING.
    void LoadShredding();
    void SaveShredding();
    /// The same on an ini store held by the caller.
    void ReadSettings(const TIniFile &ini);
    void WriteSettings(TIniFile &ini) const;
    void ReadCombsGenerate(const TIniFile &ini);
    void WriteCombsGenerate(TIniFile &ini) const;
    void ReadShredding(const TIniFile &ini);
    void WriteShredding(TIniFile &ini) const;

    // ---- weight coefficient override of script lines ----
    void PushWeightCoefs() { m_savedWeightCoefs = m_config.WeightCoefs; }
    void PopWeightCoefs() { m_config.WeightCoefs = m_savedWeightCoefs; }
    /// A filter's own block: its coefficients when overrideCoefs, else the saved ones.
    void ApplyWeightCoefs(bool overrideCoefs, const TWeightCoefs &coefs);

    /// Prize for overlaps (when >= 0 and listed) minus the cost of the
    /// C(n, 6) tickets of a stake of n numbers (1 ticket for n <= 6).
    TMoney StakeProfit(int n, int overlaps) const;

private:
    [[noreturn]] static void Fail(const char *format, const std::exception &e);
    bool ReadIniFile(TIniFile &ini, const QString &fileName);

    const TDrawsArchive *m_archive = nullptr;
    QString m_dataDir;
    QString m_helpFile;
    QString m_languageAbbrev = QStringLiteral("RUS");

    std::vector<std::unique_ptr<TStatMethod>> m_methods;
    bool m_ordered = false;
    bool m_showGroupName = true;
    bool m_showMethodFlags = true;
    bool m_allSelected = true;
    bool m_fastPaths = true;

    TConfigData m_config;
    TWeightCoefs m_savedWeightCoefs;
    uint8_t m_combsGenerateMode = 0;
    QString m_combsGenerateParameters;
    TShreddingData m_shredding;
};

} // namespace lot
