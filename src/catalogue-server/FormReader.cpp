#include "catalogue-server/FormReader.h"

#include "catalogue/CatalogueCodec.h"
#include "core/Codec1251.h"
#include "core/Errors.h"
#include "core/Format.h"

namespace lot::server {

namespace {

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

EError FieldError(const char *name, const QString &what) {
    return EError(Format(QStringLiteral("Поле \"%s\": %s"), {QString::fromLatin1(name), what}));
}

QString Bounded(const char *name, const QString &text, qsizetype maxChars) {
    const QString trimmed = text.trimmed();
    if (trimmed.size() > maxChars)
        throw FieldError(name, Format(QStringLiteral("значение длиннее %d символов"), {qlonglong(maxChars)}));
    return trimmed;
}

} // namespace

QByteArray PercentDecode(const QByteArray &text) {
    QByteArray out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '+') {
            out += ' ';
        } else if (c == '%') {
            const int hi = i + 1 < text.size() ? HexDigit(text[i + 1]) : -1;
            const int lo = i + 2 < text.size() ? HexDigit(text[i + 2]) : -1;
            if (hi < 0 || lo < 0) throw EError(QStringLiteral("Неверная последовательность \"%\" в запросе"));
            out += char(hi * 16 + lo);
            i += 2;
        } else {
            out += c;
        }
    }
    return out;
}

TForm TForm::Read(const QByteArray &body) {
    if (body.size() > MaxBodySize) throw EError(QStringLiteral("Слишком большой запрос"));
    TForm form;
    if (body.isEmpty()) return form;
    for (const QByteArray &part : body.split('&')) {
        if (part.isEmpty()) continue;
        if (form.m_fields.size() >= MaxFields) throw EError(QStringLiteral("Слишком много полей в запросе"));
        const qsizetype eq = part.indexOf('=');
        const QByteArray name = PercentDecode(eq < 0 ? part : part.left(eq));
        if (name.isEmpty() || name.size() > MaxNameSize)
            throw EError(QStringLiteral("Неверное имя поля в запросе"));
        for (const auto &field : std::as_const(form.m_fields))
            if (field.first == name)
                throw EError(
                    Format(QStringLiteral("Поле \"%s\" указано дважды"), {QString::fromLatin1(name)}));
        form.m_fields.append({name, eq < 0 ? QByteArray() : PercentDecode(part.mid(eq + 1))});
    }
    return form;
}

bool TForm::Has(const char *name) const {
    for (const auto &field : m_fields)
        if (field.first == name) return true;
    return false;
}

QByteArray TForm::Raw(const char *name) const {
    for (const auto &field : m_fields)
        if (field.first == name) return field.second;
    return {};
}

int32_t TForm::Integer(const char *name) const {
    bool ok = false;
    const int32_t value = Raw(name).trimmed().toInt(&ok, 10);
    if (!ok) throw FieldError(name, QStringLiteral("ожидается целое число"));
    return value;
}

int32_t TForm::IntegerOr(const char *name, int32_t def) const {
    const QByteArray raw = Raw(name).trimmed();
    return raw.isEmpty() ? def : Integer(name);
}

QString TForm::Escaped(const char *name, qsizetype maxChars) const {
    const QByteArray raw = Raw(name);
    // An escape takes at most two bytes per byte: a longer value cannot fit and is not decoded.
    if (raw.size() > 2 * maxChars + 64)
        throw FieldError(name, Format(QStringLiteral("значение длиннее %d символов"), {qlonglong(maxChars)}));
    try {
        return Bounded(name, FromCp1251(CatalogueUnescape(raw)), maxChars);
    } catch (const EError &e) {
        throw FieldError(name, e.Message());
    }
}

QString TForm::Plain(const char *name, qsizetype maxChars) const {
    const QByteArray raw = Raw(name);
    if (raw.size() > maxChars + 64)
        throw FieldError(name, Format(QStringLiteral("значение длиннее %d символов"), {qlonglong(maxChars)}));
    return Bounded(name, FromCp1251(raw), maxChars);
}

} // namespace lot::server
