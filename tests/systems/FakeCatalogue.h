#pragma once
// A catalogue of systems held in memory, recording the calls it gets.

#include "core/Errors.h"
#include "systems/SystemInfo.h"

#include <map>
#include <memory>
#include <QList>
#include <QString>

namespace lot::test {

class TFakeCatalogue : public ISystemCatalogue {
public:
    struct TSaved {
        tSystemData Data;
        bool Deletion = false;
    };
    /// What the catalogue holds; shared by every instance the factory makes.
    struct TState {
        QList<tSystemInfo> Entries;
        std::map<int32_t, QString> Contents;
        QList<TSaved> Saved;
        int ListCalls = 0;
        int ContentCalls = 0;
        QString FailWith;     ///< every call raises this when set
        int32_t NextId = 100; ///< the id a new system gets
        int32_t Answer = -2;  ///< what SaveSystem answers when not -2
    };

    explicit TFakeCatalogue(std::shared_ptr<TState> state) : m_state(std::move(state)) {}

    QList<tSystemInfo> ListSystems() override {
        ++m_state->ListCalls;
        Check();
        return m_state->Entries;
    }
    QString SystemContent(int32_t id) override {
        ++m_state->ContentCalls;
        Check();
        const auto it = m_state->Contents.find(id);
        return it == m_state->Contents.end() ? QString() : it->second;
    }
    int32_t SaveSystem(const tSystemData &data, bool deletion) override {
        Check();
        m_state->Saved.append({data, deletion});
        if (m_state->Answer != -2) return m_state->Answer;
        if (deletion) return 0;
        return data.Info.Id > 0 ? data.Info.Id : m_state->NextId++;
    }

private:
    void Check() {
        if (!m_state->FailWith.isEmpty()) throw EError(m_state->FailWith);
    }
    std::shared_ptr<TState> m_state;
};

} // namespace lot::test
