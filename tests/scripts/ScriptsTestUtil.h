#pragma once
// A workspace over a temporary data folder, opened as the command line
// opens it, for running scripts; a host that records what the run shows and
// lets a test act at each round of pending events.

#include "archive/ArchiveController.h"
#include "archive/DrawsArchive.h"
#include "combs/CombFile.h"
#include "combs/CombGenerator.h"
#include "combs/CombsController.h"
#include "core/Codec1251.h"
#include "core/CoreHelpers.h"
#include "core/IniFile.h"
#include "scripts/ScriptsController.h"
#include "shell/FakeHost.h"
#include "shell/Workspace.h"
#include "stakes/StakeRec.h"
#include "stakes/StakesController.h"

#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <ostream>
#include <QFile>
#include <QTemporaryDir>
#include <vector>

inline void PrintTo(const QString &s, std::ostream *os) {
    *os << '"' << s.toStdString() << '"';
}

namespace lot::test {

/// TFakeHost that runs a hook at every round of pending events.
class TEventHost : public TFakeHost {
public:
    std::function<void()> OnEvents;
    int Rounds = 0;
    QStringList Opened; ///< what was opened with the default viewer
    void ProcessMessages() override {
        ++Rounds;
        if (OnEvents) OnEvents();
    }
    bool OpenWithDefault(const QString &path) override {
        Opened << path;
        return true;
    }
};

inline TComb C(int a, int b, int c, int d, int e, int f) {
    return TComb{{uint8_t(a), uint8_t(b), uint8_t(c), uint8_t(d), uint8_t(e), uint8_t(f)}};
}

/// A draw numbered in steps of two, as the archive's next draw number counts.
inline TDrawRec ScriptDraw(int number, std::initializer_list<int> mains) {
    TDrawRec d;
    d.DrawNumber = number;
    int i = 0;
    for (int n : mains)
        d.Numbers[i++] = uint8_t(n);
    d.Extra[0] = 40;
    d.Extra[1] = 41;
    return d;
}

class TScriptWorkspace {
public:
    TScriptWorkspace() = default;

    QString Path(const QString &name) const { return m_dir.filePath(name); }

    /// The generation parameters of the source lists.
    void SetGeneration(int mode, const QString &parameters) {
        TIniFile ini;
        ini.Load(Path(QStringLiteral("Brantlee_6x45.ini")));
        ini.WriteInteger(QStringLiteral("GLOBAL"), QStringLiteral("CombsGenerateMode"), mode);
        ini.WriteString(QStringLiteral("GLOBAL"), QStringLiteral("CombsGenerateParameters"), parameters);
        ini.Save();
    }
    /// A combination file as the source list.
    void SetSourceFile(const std::vector<TComb> &combs) {
        const QString file = Path(QStringLiteral("source.lcv"));
        WriteCombsFile(file, combs.data(), int(combs.size()));
        SetGeneration(cgmFromFile, file);
    }
    void SetDraws(const TDrawsArray &draws) {
        TDrawsArchive archive;
        for (const TDrawRec &d : draws)
            archive.Append(d);
        archive.SaveDrawsFile(Path(QStringLiteral("Brantlee_6x45.ldr")));
    }
    /// n draws numbered 1, 3, 5, ... whose numbers stay above 8, so that
    /// sources of the numbers 1..8 never meet them.
    void SetDraws(int n) {
        TDrawsArray draws;
        for (int k = 0; k < n; ++k)
            draws.push_back(ScriptDraw(1 + 2 * k, {9 + k % 5, 15 + k % 7, 23, 30 + k % 3, 38, 45 - k % 2}));
        SetDraws(draws);
    }

    /// Opens the workspace as the command line does.
    TWorkspace &Open() {
        m_ws = std::make_unique<TWorkspace>(Host, m_dir.path());
        m_ws->SetViewsFrozen(true);
        EXPECT_TRUE(m_ws->ReadWindowSettings());
        EXPECT_TRUE(m_ws->LoadGameSettings());
        EXPECT_TRUE(m_ws->Stakes().AcquireDataLock());
        EXPECT_TRUE(m_ws->Archive().LoadDraws());
        EXPECT_TRUE(m_ws->Combs().GenerateSavedCombs(m_ws->Stats().Registry()));
        return *m_ws;
    }
    TWorkspace &Ws() { return *m_ws; }
    TScriptsController &Scripts() { return m_ws->Scripts(); }

    TScriptRunResult Forecast(const QStringList &lines, quint32 seed = 1) {
        Scripts().UseScript(lines);
        TScriptRunResult result;
        Scripts().RunForecast(seed, &result);
        return result;
    }
    TScriptRunResult Test(const QStringList &lines, int count, quint32 seed = 1) {
        Scripts().UseScript(lines);
        TScriptRunResult result;
        Scripts().RunTest(count, seed, &result);
        return result;
    }

    /// Every record of the stakes file in order.
    std::vector<TStakeRec> Records() {
        std::vector<TStakeRec> records;
        m_ws->Stakes().VisitStakes([&](qint64, const TStakeRec &rec) { records.push_back(rec); });
        return records;
    }
    /// The stakes only (no separators).
    std::vector<TStakeRec> Stakes() {
        std::vector<TStakeRec> stakes;
        for (const TStakeRec &r : Records())
            if (r.Kind != skSeparator) stakes.push_back(r);
        return stakes;
    }
    QByteArray StakesBytes() {
        QFile f(Path(QStringLiteral("Brantlee_6x45.lsk")));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    static QString Numbers(const TStakeRec &rec) { return NumberSetToText(rec.Numbers, QStringLiteral(";")); }

    TEventHost Host;

private:
    QTemporaryDir m_dir;
    std::unique_ptr<TWorkspace> m_ws;
};

} // namespace lot::test
