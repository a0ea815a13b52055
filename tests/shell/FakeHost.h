#pragma once
// A host that records what the engine tells the user, for exact-text checks.

#include "core/Host.h"

#include <QList>
#include <QString>
#include <QStringList>

namespace lot::test {

class TFakeHost : public IHost {
public:
    enum class TKind { Error, Information, Attention, Warning, Confirm };
    struct TMessage {
        TKind Kind;
        QString Text;
        QString Title;
    };

    QList<TMessage> Messages;
    QStringList Statuses;      ///< every ShowStatus text, in order
    QList<bool> BusyChanges;   ///< OnBusyChanged calls
    bool ConfirmAnswer = true; ///< what Confirm returns

    void ShowStatus(const QString &text) override { Statuses << text; }
    void ShowError(const QString &text) override { Messages.append({TKind::Error, text, {}}); }
    void ShowInformation(const QString &text) override { Messages.append({TKind::Information, text, {}}); }
    void ShowAttention(const QString &text) override { Messages.append({TKind::Attention, text, {}}); }
    void ShowWarning(const QString &text) override { Messages.append({TKind::Warning, text, {}}); }
    bool Confirm(const QString &text, const QString &title = {}, bool defaultNo = false) override {
        Q_UNUSED(defaultNo);
        Messages.append({TKind::Confirm, text, title});
        return ConfirmAnswer;
    }

    QStringList Texts(TKind kind) const {
        QStringList texts;
        for (const TMessage &m : Messages)
            if (m.Kind == kind) texts << m.Text;
        return texts;
    }
    QStringList Errors() const { return Texts(TKind::Error); }
    void Clear() {
        Messages.clear();
        Statuses.clear();
        BusyChanges.clear();
    }

protected:
    void OnBusyChanged(bool busy) override { BusyChanges << busy; }
};

} // namespace lot::test
