#pragma once
/// @file The result of a user-level operation and the error boundary that
/// makes one.
///
/// Engine parts raise EError carrying the program's own message; only a
/// controller operation (one per area) catches it, shows the one error box
/// through IHost and returns the failure together with the message, so
/// that a caller which is not a person (a script run, the command line) can
/// tell why it failed.

#include "core/Errors.h"
#include "core/Format.h"
#include "core/Host.h"

#include <QString>
#include <type_traits>
#include <utility>

namespace lot {

class TOpResult {
public:
    /// Success.
    TOpResult() = default;
    static TOpResult Failure(const QString &message) {
        TOpResult r;
        r.m_ok = false;
        r.m_message = message;
        return r;
    }

    bool Ok() const { return m_ok; }
    explicit operator bool() const { return m_ok; }
    /// The text the user was shown; empty on success.
    const QString &Message() const { return m_message; }

private:
    bool m_ok = true;
    QString m_message;
};

/// The error boundary of one operation: runs body, which reports failures by
/// raising; a raised error is shown in one error box with the text
/// makeText(error's text), and returned as the failure. body may also return
/// a TOpResult of its own (a failure that was shown already).
template <class MakeText, class Body>
requires std::is_invocable_r_v<QString, MakeText, const QString &>
    TOpResult Guarded(IHost &host, MakeText &&makeText, Body &&body) {
    try {
        if constexpr (std::is_same_v<std::invoke_result_t<Body>, TOpResult>) {
            return std::forward<Body>(body)();
        } else {
            std::forward<Body>(body)();
            return {};
        }
    } catch (const std::exception &e) {
        const QString text = makeText(ExceptionText(e));
        host.ShowError(text);
        return TOpResult::Failure(text);
    }
}

/// Guarded with the text errorFormat, the error's text in its "%s" (the
/// error's text alone when errorFormat is empty).
template <class Body> TOpResult Guarded(IHost &host, const QString &errorFormat, Body &&body) {
    return Guarded(
        host,
        [&errorFormat](const QString &reason) {
            return errorFormat.isEmpty() ? reason : Format(errorFormat, {reason});
        },
        std::forward<Body>(body));
}

/// A failure shown as it is (a refusal that is no exception).
inline TOpResult Refused(IHost &host, const QString &text) {
    host.ShowError(text);
    return TOpResult::Failure(text);
}

} // namespace lot
