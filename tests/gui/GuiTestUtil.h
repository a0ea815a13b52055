#pragma once
// Shared pieces of the GUI tests: the application object, a message
// recorder that stands in for the modal boxes, and small archives.

#include "archive/DrawsArchive.h"
#include "core/CoreHelpers.h"
#include "gui/shell/GuiHost.h"

#include <QApplication>
#include <QTimer>

#include <functional>
#include <memory>
#include <QList>
#include <QString>

namespace lot::guitest {

inline void EnsureApplication() {
    static int argc = 1;
    static char name[] = "test_gui";
    static char *argv[] = {name, nullptr};
    if (!QApplication::instance()) new QApplication(argc, argv);
}

struct TMessage {
    TMessageKind Kind;
    QString Title;
    QString Text;
};

/// Records every message box; confirmations get `Answer`.
struct TMessageRecorder {
    QList<TMessage> Messages;
    bool Answer = true;

    void Attach(TGuiHost &host) {
        host.SetMessageInterceptor([this](TMessageKind kind, const QString &title, const QString &text) {
            Messages.append({kind, title, text});
            return Answer;
        });
    }
    QStringList Texts() const {
        QStringList texts;
        for (const TMessage &m : Messages)
            texts << m.Text;
        return texts;
    }
};

/// A draw with the given number and numbers; the date is a Saturday counted
/// from the number so every draw differs.
inline TDrawRec MakeDraw(int number, std::initializer_list<int> mains, int e1, int e2) {
    TDrawRec d;
    d.DrawNumber = number;
    int i = 0;
    for (int n : mains)
        d.Numbers[i++] = uint8_t(n);
    d.Extra[0] = uint8_t(e1);
    d.Extra[1] = uint8_t(e2);
    SetDrawDateText(d, DateToDrawText(QDate(2026, 1, 3).addDays(7 * number)));
    return d;
}

/// Ten draws numbered 4001, 4003, ... 4019 (oldest first) with distinct
/// numbers; draw k (0-based) has main numbers k+31, k+1, k+21, k+11, k+2, 44-k in that draw order.
inline TDrawsArray TenDraws() {
    TDrawsArray draws;
    for (int k = 0; k < 10; ++k)
        draws.push_back(MakeDraw(4001 + 2 * k, {k + 31, k + 1, k + 21, k + 11, k + 2, 44 - k}, 7, 29));
    return draws;
}

/// Hands the first modal dialog of type T to `handle` once it opens. Looks
/// every few milliseconds, a bounded number of times, so a dialog that opens
/// later than the next event round is still found; the watch ends with the
/// returned timer.
template <class T> [[nodiscard]] std::unique_ptr<QTimer> WhenModal(std::function<void(T *)> handle) {
    auto timer = std::make_unique<QTimer>();
    QTimer *t = timer.get();
    auto tries = std::make_shared<int>(0);
    QObject::connect(t, &QTimer::timeout, [t, tries, handle] {
        if (auto *form = qobject_cast<T *>(QApplication::activeModalWidget())) {
            t->stop();
            handle(form);
        } else if (++*tries > 2000) {
            t->stop();
        }
    });
    t->start(5);
    return timer;
}

} // namespace lot::guitest
