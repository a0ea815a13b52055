#pragma once
/// @file The error type every engine operation raises. It carries the
/// system's own message text, ready to be shown to the user.

#include <QString>
#include <stdexcept>

namespace lot {

class EError : public std::runtime_error {
public:
    explicit EError(const QString &message) : std::runtime_error(message.toStdString()), m_message(message) {}
    const QString &Message() const noexcept { return m_message; }

private:
    QString m_message;
};

/// A failed text-to-value conversion (a malformed date, a non-integer).
class EConvertError : public EError {
public:
    using EError::EError;
};

/// Message text of any exception, for the "...\r\r%s" error boxes.
inline QString ExceptionText(const std::exception &e) {
    if (auto *err = dynamic_cast<const EError *>(&e)) return err->Message();
    return QString::fromLocal8Bit(e.what());
}

} // namespace lot
