#include "stats/methods/ShreddingFormula.h"

#include "core/Format.h"

#include <cmath>
#include <cstring>
#include <muParser.h>
#include <string>

namespace lot {

namespace {

constexpr char Letters[3] = {'n', 'p', 't'};
constexpr int VarCount = 3 * CombSize;

/// The variable names n1..n6, p1..p6, t1..t6, in the order of TImpl::Vars.
const std::array<std::string, VarCount> &VarNames() {
    static const std::array<std::string, VarCount> names = [] {
        std::array<std::string, VarCount> n;
        for (int l = 0; l < 3; ++l)
            for (int i = 0; i < CombSize; ++i)
                n[size_t(l * CombSize + i)] = std::string(1, Letters[l]) + char('1' + i);
        return n;
    }();
    return names;
}

bool IsNameChar(QChar c) {
    return c.unicode() >= 0x80 || c.isLetterOrNumber() || c == QLatin1Char('_') || c == QLatin1Char('.');
}

/// The formula of CanBindNumbers with its names in the variables' letter case.
QString BoundText(const QString &formula) {
    QString text = formula;
    for (qsizetype i = 0; i + 1 < text.size(); ++i) {
        const QChar lower = text[i].toLower();
        if ((lower == QLatin1Char('n') || lower == QLatin1Char('p') || lower == QLatin1Char('t')) &&
            text[i + 1] >= QLatin1Char('1') && text[i + 1] <= QLatin1Char('6') &&
            (i == 0 || !IsNameChar(text[i - 1])))
            text[i] = lower;
    }
    return text;
}

std::string ToParserText(const QString &text) {
    return text.toStdString();
}

/// A parser with the program's settings: the bytecode optimizer off, so
/// that a formula with the numbers bound computes exactly the operations,
/// in the order, that its substituted text computes (the optimizer would
/// fold "4*n1/2" into "n1*2", which can round differently).
void Prepare(mu::Parser &parser) {
    parser.EnableOptimizer(false);
}

/// Evaluates the text, false on a parse error. Results are not checked.
bool EvalText(mu::Parser &parser, const std::string &text, double &result) {
    try {
        parser.SetExpr(text);
        result = parser.Eval();
        return true;
    } catch (const mu::Parser::exception_type &) {
        return false;
    } catch (const std::exception &) {
        return false;
    }
}

bool SameResult(bool okA, double a, bool okB, double b) {
    if (okA != okB) return false;
    if (!okA) return true;
    if (std::isnan(a) || std::isnan(b)) return std::isnan(a) && std::isnan(b);
    return std::memcmp(&a, &b, sizeof a) == 0;
}

/// Sample numbers for the checks: full draws, an empty one and edge values.
std::array<TShreddingNumbers, 4> SampleNumbers() {
    std::array<TShreddingNumbers, 4> s;
    for (int i = 0; i < CombSize; ++i) {
        s[0].N[size_t(i)] = uint8_t(1 + i);
        s[0].P[size_t(i)] = uint8_t(7 + i);
        s[0].T[size_t(i)] = uint8_t(13 + i);
        s[1].N[size_t(i)] = uint8_t(45 - i);
        s[2].N[size_t(i)] = uint8_t(3 + 7 * i);
        s[2].P[size_t(i)] = uint8_t(40 - 5 * i);
        s[2].T[size_t(i)] = uint8_t(2 + i * i);
    }
    return s; // s[3]: all zero
}

} // namespace

int32_t ShreddingDigits(double f, int digits) {
    if (!std::isfinite(f) || digits < 0) return 0;
    const double a = std::fabs(f);
    const double scaled = (a - std::trunc(a)) * std::pow(10.0, digits);
    if (!(scaled < 2147483648.0)) return 0; // also NaN: 0 times an infinite power
    return int32_t(scaled);
}

QString SubstituteNumbers(const QString &formula, const TShreddingNumbers &numbers) {
    QString s = formula;
    for (int i = 0; i < CombSize; ++i) {
        const QString digit = QString::number(i + 1);
        s.replace(QLatin1Char('n') + digit, QString::number(numbers.N[size_t(i)]), Qt::CaseInsensitive);
        s.replace(QLatin1Char('p') + digit, QString::number(numbers.P[size_t(i)]), Qt::CaseInsensitive);
        s.replace(QLatin1Char('t') + digit, QString::number(numbers.T[size_t(i)]), Qt::CaseInsensitive);
    }
    return s;
}

int32_t ShreddingValueAsWritten(const QString &formula, int digits, const TShreddingNumbers &numbers) {
    mu::Parser parser;
    Prepare(parser);
    double f = 0;
    if (!EvalText(parser, ToParserText(SubstituteNumbers(formula, numbers)), f)) return 0;
    return ShreddingDigits(f, digits);
}

bool CanBindNumbers(const QString &formula) {
    const qsizetype size = formula.size();
    for (qsizetype i = 0; i < size; ++i) {
        const QChar c = formula[i];
        if (c == QLatin1Char('=')) {
            // "==", "<=", ">=", "!=" compare; any other "=" assigns, which a
            // variable allows and a substituted number does not.
            const QChar prev = i > 0 ? formula[i - 1] : QChar();
            const QChar next = i + 1 < size ? formula[i + 1] : QChar();
            const bool compares = next == QLatin1Char('=') || prev == QLatin1Char('=') ||
                                  prev == QLatin1Char('<') || prev == QLatin1Char('>') ||
                                  prev == QLatin1Char('!');
            if (!compares) return false;
            continue;
        }
        const QChar lower = c.toLower();
        if (i + 1 >= size ||
            (lower != QLatin1Char('n') && lower != QLatin1Char('p') && lower != QLatin1Char('t')))
            continue;
        const QChar digit = formula[i + 1];
        if (digit < QLatin1Char('1') || digit > QLatin1Char('6')) continue;
        // A name that joins what stands beside it reads differently as a
        // number ("2n1" is 23, "n12" is 32, "1e-n1" is 0.003).
        if (i > 0 && IsNameChar(formula[i - 1])) return false;
        if (i > 1 && (formula[i - 1] == QLatin1Char('+') || formula[i - 1] == QLatin1Char('-')) &&
            formula[i - 2].toLower() == QLatin1Char('e'))
            return false;
        if (i + 2 < size && IsNameChar(formula[i + 2])) return false;
        ++i;
    }
    return true;
}

// ---- the evaluator --------------------------------------------------------------------------

struct TShreddingEvaluator::TImpl {
    QString Formula;
    int Digits = 0;
    bool Bound = false;
    bool Broken = false;   ///< the bound formula does not parse: every value is 0
    mu::Parser Parser;     ///< the bound formula
    mu::Parser TextParser; ///< the substituted texts; no variables, as the text has none
    double Vars[VarCount] = {};

    void Set(const TShreddingNumbers &numbers) {
        for (int i = 0; i < CombSize; ++i) {
            Vars[i] = numbers.N[size_t(i)];
            Vars[CombSize + i] = numbers.P[size_t(i)];
            Vars[2 * CombSize + i] = numbers.T[size_t(i)];
        }
    }

    bool EvalBound(double &result) {
        try {
            result = Parser.Eval();
            return true;
        } catch (const mu::Parser::exception_type &) {
            return false;
        } catch (const std::exception &) {
            return false;
        }
    }

    /// Binds the numbers and parses the formula once; false when that could
    /// read differently from the text, which the samples check as well.
    bool Bind() {
        if (!CanBindNumbers(Formula)) return false;
        try {
            for (int v = 0; v < VarCount; ++v)
                Parser.DefineVar(VarNames()[size_t(v)], &Vars[v]);
            Parser.SetExpr(ToParserText(BoundText(Formula)));
        } catch (const mu::Parser::exception_type &) {
            return false;
        }
        mu::Parser reference;
        Prepare(reference);
        bool parsed = false;
        for (const TShreddingNumbers &sample : SampleNumbers()) {
            Set(sample);
            double bound = 0, written = 0;
            const bool okBound = EvalBound(bound);
            const bool okWritten =
                EvalText(reference, ToParserText(SubstituteNumbers(Formula, sample)), written);
            if (!SameResult(okBound, bound, okWritten, written)) return false;
            parsed = okBound;
        }
        Broken = !parsed;
        return true;
    }
};

TShreddingEvaluator::TShreddingEvaluator(const QString &formula, int digits) : m(std::make_unique<TImpl>()) {
    m->Formula = formula;
    m->Digits = digits;
    Prepare(m->Parser);
    Prepare(m->TextParser);
    m->Bound = m->Bind();
}

TShreddingEvaluator::~TShreddingEvaluator() = default;

bool TShreddingEvaluator::IsBound() const {
    return m->Bound;
}

int32_t TShreddingEvaluator::Value(const TShreddingNumbers &numbers) {
    if (m->Digits <= 0) return 0;
    double f = 0;
    if (m->Bound) {
        if (m->Broken) return 0;
        m->Set(numbers);
        if (!m->EvalBound(f)) return 0;
    } else if (!EvalText(m->TextParser, ToParserText(SubstituteNumbers(m->Formula, numbers)), f)) {
        return 0;
    }
    return ShreddingDigits(f, m->Digits);
}

int32_t TShreddingEvaluator::Value(const TComb &n, const std::array<uint8_t, CombSize> &p,
                                   const std::array<uint8_t, CombSize> &t) {
    if (m->Digits <= 0) return 0;
    if (!m->Bound) return Value(TShreddingNumbers{{n[0], n[1], n[2], n[3], n[4], n[5]}, p, t});
    if (m->Broken) return 0;
    for (int i = 0; i < CombSize; ++i) {
        m->Vars[i] = n[i];
        m->Vars[CombSize + i] = p[size_t(i)];
        m->Vars[2 * CombSize + i] = t[size_t(i)];
    }
    double f = 0;
    if (!m->EvalBound(f)) return 0;
    return ShreddingDigits(f, m->Digits);
}

// ---- checking a formula -----------------------------------------------------------------------

TFormulaProblem CheckFormula(const QString &formula) {
    TFormulaProblem problem;
    problem.Code = -1;
    mu::Parser parser;
    Prepare(parser);
    // The bound form reads the user's own text, so positions are theirs.
    double vars[VarCount] = {};
    for (int v = 0; v < VarCount; ++v)
        vars[v] = v + 1;
    try {
        if (CanBindNumbers(formula)) {
            for (int v = 0; v < VarCount; ++v)
                parser.DefineVar(VarNames()[size_t(v)], &vars[v]);
            parser.SetExpr(ToParserText(BoundText(formula)));
        } else {
            parser.SetExpr(ToParserText(SubstituteNumbers(formula, SampleNumbers()[0])));
        }
        (void)parser.Eval();
    } catch (const mu::Parser::exception_type &e) {
        problem.Code = int(e.GetCode());
        problem.Position = e.GetPos();
        problem.Token = QString::fromStdString(e.GetToken());
        problem.Message = QString::fromStdString(e.GetMsg());
    }
    return problem;
}

QString FormulaProblemText(int formulaNumber, const TFormulaProblem &problem) {
    const QString token = problem.Token.trimmed();
    const int at = problem.Position + 1;
    QString what;
    switch (problem.Code) {
    case mu::ecUNEXPECTED_OPERATOR:
        what = Format(QStringLiteral("неожиданный оператор \"%s\" в позиции %d"), {token, at});
        break;
    case mu::ecUNASSIGNABLE_TOKEN:
        what = Format(QStringLiteral("неизвестное имя или знак \"%s\" в позиции %d"), {token, at});
        break;
    case mu::ecUNEXPECTED_EOF:
        what = QStringLiteral("формула обрывается");
        break;
    case mu::ecUNEXPECTED_ARG_SEP:
        what = Format(QStringLiteral("лишняя запятая в позиции %d"), {at});
        break;
    case mu::ecUNEXPECTED_ARG:
        what = Format(QStringLiteral("неожиданный аргумент в позиции %d"), {at});
        break;
    case mu::ecUNEXPECTED_VAL:
        what = Format(QStringLiteral("неожиданное число \"%s\" в позиции %d"), {token, at});
        break;
    case mu::ecUNEXPECTED_VAR:
        what = Format(QStringLiteral("неожиданная переменная \"%s\" в позиции %d"), {token, at});
        break;
    case mu::ecUNEXPECTED_PARENS:
        what = Format(QStringLiteral("неожиданная скобка в позиции %d"), {at});
        break;
    case mu::ecVAL_EXPECTED:
        what = QStringLiteral("ожидается число или переменная");
        break;
    case mu::ecMISSING_PARENS:
        what = QStringLiteral("не хватает закрывающей скобки");
        break;
    case mu::ecUNEXPECTED_FUN:
        what = Format(QStringLiteral("неожиданная функция \"%s\" в позиции %d"), {token, at});
        break;
    case mu::ecTOO_MANY_PARAMS:
        what = Format(QStringLiteral("слишком много аргументов функции \"%s\""), {token});
        break;
    case mu::ecTOO_FEW_PARAMS:
        what = Format(QStringLiteral("слишком мало аргументов функции \"%s\""), {token});
        break;
    case mu::ecEMPTY_EXPRESSION:
        what = QStringLiteral("формула пуста");
        break;
    case mu::ecUNEXPECTED_CONDITIONAL:
        what = Format(QStringLiteral("неожиданный знак \"?\" в позиции %d"), {at});
        break;
    case mu::ecMISSING_ELSE_CLAUSE:
        what = QStringLiteral("у условия \"?\" нет части \":\"");
        break;
    case mu::ecMISPLACED_COLON:
        what = Format(QStringLiteral("знак \":\" не на своем месте (позиция %d)"), {at});
        break;
    case mu::ecIDENTIFIER_TOO_LONG:
        what = QStringLiteral("слишком длинное имя");
        break;
    case mu::ecEXPRESSION_TOO_LONG:
        what = QStringLiteral("формула слишком длинная");
        break;
    case mu::ecINVALID_CHARACTERS_FOUND:
        what = QStringLiteral("в формуле есть недопустимые знаки");
        break;
    default:
        what = QStringLiteral("формулу невозможно вычислить");
        break;
    }
    return Format(QStringLiteral("Ошибка в формуле %d: %s.\r\rСообщение анализатора формул: %s"),
                  {formulaNumber, what, problem.Message});
}

} // namespace lot
