#include "stats/methods/ShreddingFormula.h"

#include "core/Format.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <functional>
#include <muParser.h>
#include <random>
#include <string>
#include <vector>

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

/// SubstituteNumbers on the formula's UTF-8 bytes, for the evaluator's
/// text path: a UTF-8 sequence of another character never holds the bytes
/// of an ASCII letter or digit, and no other character's letter case folds
/// to n, p or t, so replacing bytes gives the same text.
std::string SubstituteBytes(const std::string &formula, const TShreddingNumbers &numbers) {
    std::string s = formula, out;
    char number[4];
    for (int i = 0; i < CombSize; ++i) {
        for (int l = 0; l < 3; ++l) {
            const char lower = Letters[l];
            const char upper = char(lower - 'a' + 'A');
            const char digit = char('1' + i);
            const uint8_t value = (l == 0 ? numbers.N : l == 1 ? numbers.P : numbers.T)[size_t(i)];
            if (s.find(digit) == std::string::npos) continue;
            // The decimal text of a byte; snprintf would cost more than the rest.
            int len = 0;
            if (value >= 100) number[len++] = char('0' + value / 100);
            if (value >= 10) number[len++] = char('0' + value / 10 % 10);
            number[len++] = char('0' + value % 10);
            out.clear();
            size_t k = 0;
            bool replaced = false;
            while (k < s.size()) {
                if ((s[k] == lower || s[k] == upper) && k + 1 < s.size() && s[k + 1] == digit) {
                    out.append(number, size_t(len));
                    k += 2;
                    replaced = true;
                } else {
                    out.push_back(s[k++]);
                }
            }
            if (replaced) s.swap(out);
        }
    }
    return s;
}

/// ShreddingDigits with 10^digits given (an evaluator computes it once).
/// An infinite f gives inf - inf, a NaN, which fails the comparison as NaN
/// does: no separate test, so that a block's loop has no branch.
inline int32_t ScaledDigits(double f, double scale) {
    const double a = std::fabs(f);
    const double scaled = (a - std::trunc(a)) * scale;
    return scaled < 2147483648.0 ? int32_t(scaled) : 0;
}

} // namespace

int32_t ShreddingDigits(double f, int digits) {
    if (digits < 0) return 0;
    return ScaledDigits(f, std::pow(10.0, digits));
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
    std::string FormulaBytes; ///< the formula in UTF-8, for the text path
    int Digits = 0;
    double Scale = 1; ///< 10^Digits
    bool Bound = false;
    bool Broken = false;   ///< the bound formula does not parse: every value is 0
    mu::Parser Parser;     ///< the bound formula
    mu::Parser TextParser; ///< the substituted texts; no variables, as the text has none
    /// Results of substituted texts, by the text: a formula read as text
    /// often reads only some of the numbers, and the combinations of a
    /// list repeat those over and over. Direct-mapped, made on first use.
    struct TTextResult {
        std::string Text;
        double Result = 0;
        bool Ok = false;
        bool Used = false;
    };
    static constexpr size_t TextCacheSize = 1 << 15;
    std::vector<TTextResult> TextCache;

    bool EvalCachedText(const std::string &text, double &result) {
        if (TextCache.empty()) TextCache.resize(TextCacheSize);
        TTextResult &slot = TextCache[std::hash<std::string>{}(text) & (TextCacheSize - 1)];
        if (!slot.Used || slot.Text != text) {
            slot.Text = text;
            slot.Ok = EvalText(TextParser, text, slot.Result);
            slot.Used = true;
        }
        result = slot.Result;
        return slot.Ok;
    }
    double Vars[VarCount] = {};
    /// The earlier numbers Vars holds: a pass sets them once, not per combination.
    bool EarlierSet = false;
    std::array<uint8_t, CombSize> LastP{}, LastT{};

    void Set(const TShreddingNumbers &numbers) {
        EarlierSet = false;
        for (int i = 0; i < CombSize; ++i) {
            Vars[i] = numbers.N[size_t(i)];
            Vars[CombSize + i] = numbers.P[size_t(i)];
            Vars[2 * CombSize + i] = numbers.T[size_t(i)];
        }
    }

    /// One step of the parsed formula as muparser's own bytecode gives it,
    /// for formulas of numbers, names and the four operations only.
    struct TStep {
        mu::ECmdCode Cmd;
        int Var;      ///< cmVAR: index into Vars
        double Value; ///< cmVAL
    };
    std::vector<TStep> Program; ///< empty: muparser evaluates
    static constexpr size_t MaxStack = 64;
    /// Combinations valued together by Values, and its columns of them.
    static constexpr size_t Lanes = 64;
    std::vector<double> Columns;

    /// The bytecode of the parsed formula as steps, when every step is one
    /// the loop below runs as muparser does; checked against muparser on
    /// samples before it is used. This halves the time of a full-set pass.
    void Compile() {
        Program.clear();
        try {
            const mu::ParserByteCode &code = Parser.GetByteCode();
            if (code.GetMaxStackSize() > MaxStack) return;
            const mu::SToken *tokens = code.GetBase();
            std::vector<TStep> steps;
            for (size_t i = 0; i < code.GetSize(); ++i) {
                const mu::SToken &t = tokens[i];
                switch (t.Cmd) {
                case mu::cmVAR: {
                    const std::ptrdiff_t var = t.Val.ptr - Vars;
                    if (var < 0 || var >= VarCount || t.Val.data != 1 || t.Val.data2 != 0) return;
                    steps.push_back({t.Cmd, int(var), 0});
                    break;
                }
                case mu::cmVAL:
                    steps.push_back({t.Cmd, 0, t.Val.data2});
                    break;
                case mu::cmADD:
                case mu::cmSUB:
                case mu::cmMUL:
                case mu::cmDIV:
                    steps.push_back({t.Cmd, 0, 0});
                    break;
                case mu::cmEND:
                    steps.push_back({t.Cmd, 0, 0});
                    Program = std::move(steps);
                    return;
                default:
                    return;
                }
            }
        } catch (const mu::Parser::exception_type &) {
        }
    }

    /// Runs Program; false when it is not well formed (then it is dropped).
    bool Run(double &result) const {
        double stack[MaxStack + 1];
        int top = -1;
        for (const TStep &step : Program) {
            switch (step.Cmd) {
            case mu::cmVAR:
                if (top >= int(MaxStack)) return false;
                stack[++top] = Vars[step.Var];
                break;
            case mu::cmVAL:
                if (top >= int(MaxStack)) return false;
                stack[++top] = step.Value;
                break;
            case mu::cmADD:
                if (top < 1) return false;
                --top;
                stack[top] = stack[top] + stack[top + 1];
                break;
            case mu::cmSUB:
                if (top < 1) return false;
                --top;
                stack[top] = stack[top] - stack[top + 1];
                break;
            case mu::cmMUL:
                if (top < 1) return false;
                --top;
                stack[top] = stack[top] * stack[top + 1];
                break;
            case mu::cmDIV:
                if (top < 1) return false;
                --top;
                stack[top] = stack[top] / stack[top + 1];
                break;
            default: // cmEND
                if (top != 0) return false;
                result = stack[0];
                return true;
            }
        }
        return false;
    }

    bool EvalBound(double &result) {
        if (!Program.empty()) return Run(result);
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
        if (!Broken) CompileChecked();
        return true;
    }

    /// Compile, kept only when the steps give muparser's results.
    void CompileChecked() {
        Compile();
        if (Program.empty()) return;
        // The stack's depth does not depend on the numbers: one column per level.
        int top = -1, deepest = -1;
        for (const TStep &step : Program) {
            if (step.Cmd == mu::cmVAR || step.Cmd == mu::cmVAL)
                deepest = std::max(deepest, ++top);
            else if (step.Cmd != mu::cmEND && --top < 0)
                break;
        }
        if (top != 0) {
            Program.clear();
            return;
        }
        Columns.assign(size_t(deepest + 1) * Lanes, 0.0);
        std::mt19937 rng(45);
        std::uniform_int_distribution<int> number(0, 45);
        for (int round = 0; round < 12; ++round) {
            for (double &v : Vars)
                v = number(rng);
            double mine = 0, theirs = 0;
            const bool okMine = Run(mine);
            bool okTheirs = true;
            try {
                theirs = Parser.Eval();
            } catch (const mu::Parser::exception_type &) {
                okTheirs = false;
            }
            if (!SameResult(okMine, mine, okTheirs, theirs)) {
                Program.clear();
                return;
            }
        }
    }
};

TShreddingEvaluator::TShreddingEvaluator(const QString &formula, int digits) : m(std::make_unique<TImpl>()) {
    m->Formula = formula;
    m->FormulaBytes = ToParserText(formula);
    m->Digits = digits;
    m->Scale = std::pow(10.0, digits);
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
    } else if (!m->EvalCachedText(SubstituteBytes(m->FormulaBytes, numbers), f)) {
        return 0;
    }
    return ScaledDigits(f, m->Scale);
}

int32_t TShreddingEvaluator::Value(const TComb &n, const std::array<uint8_t, CombSize> &p,
                                   const std::array<uint8_t, CombSize> &t) {
    if (m->Digits <= 0) return 0;
    if (!m->Bound) return Value(TShreddingNumbers{{n[0], n[1], n[2], n[3], n[4], n[5]}, p, t});
    if (m->Broken) return 0;
    if (!m->EarlierSet || p != m->LastP || t != m->LastT) {
        for (int i = 0; i < CombSize; ++i) {
            m->Vars[CombSize + i] = p[size_t(i)];
            m->Vars[2 * CombSize + i] = t[size_t(i)];
        }
        m->LastP = p;
        m->LastT = t;
        m->EarlierSet = true;
    }
    for (int i = 0; i < CombSize; ++i)
        m->Vars[i] = n[i];
    double f = 0;
    if (!m->EvalBound(f)) return 0;
    return ScaledDigits(f, m->Scale);
}

void TShreddingEvaluator::Values(const TComb *combs, size_t count, const std::array<uint8_t, CombSize> &p,
                                 const std::array<uint8_t, CombSize> &t, int32_t *out) {
    if (m->Digits <= 0 || (m->Bound && m->Broken)) {
        std::fill(out, out + count, 0);
        return;
    }
    if (!m->Bound || m->Program.empty()) {
        for (size_t i = 0; i < count; ++i)
            out[i] = Value(combs[i], p, t);
        return;
    }
    constexpr size_t L = TImpl::Lanes;
    double *columns = m->Columns.data();
    const double scale = m->Scale;
    for (size_t base = 0; base < count; base += L) {
        const size_t n = std::min(L, count - base);
        const TComb *c = combs + base;
        double *top = columns;
        bool empty = true; // top is the column below the first value
        for (const TImpl::TStep &step : m->Program) {
            switch (step.Cmd) {
            case mu::cmVAR: {
                if (!empty) top += L;
                empty = false;
                if (step.Var < CombSize) {
                    for (size_t j = 0; j < n; ++j)
                        top[j] = c[j][step.Var];
                } else {
                    const double v = step.Var < 2 * CombSize ? p[size_t(step.Var - CombSize)]
                                                             : t[size_t(step.Var - 2 * CombSize)];
                    std::fill(top, top + n, v);
                }
                break;
            }
            case mu::cmVAL:
                if (!empty) top += L;
                empty = false;
                std::fill(top, top + n, step.Value);
                break;
            case mu::cmADD:
                top -= L;
                for (size_t j = 0; j < n; ++j)
                    top[j] = top[j] + top[j + L];
                break;
            case mu::cmSUB:
                top -= L;
                for (size_t j = 0; j < n; ++j)
                    top[j] = top[j] - top[j + L];
                break;
            case mu::cmMUL:
                top -= L;
                for (size_t j = 0; j < n; ++j)
                    top[j] = top[j] * top[j + L];
                break;
            case mu::cmDIV:
                top -= L;
                for (size_t j = 0; j < n; ++j)
                    top[j] = top[j] / top[j + L];
                break;
            default: // cmEND: the one column left is the result
                for (size_t j = 0; j < n; ++j)
                    out[base + j] = ScaledDigits(top[j], scale);
                break;
            }
        }
    }
}

// ---- checking a formula -----------------------------------------------------------------------

TFormulaProblem CheckFormula(const QString &formula) {
    TFormulaProblem problem;
    problem.Code = -1;
    // A line break would end the formula's line in the settings file, and
    // the formula read back would not be the one in use.
    for (qsizetype i = 0; i < formula.size(); ++i) {
        if (formula[i].unicode() < 0x20 || formula[i].unicode() == 0x7F) {
            problem.Code = mu::ecINVALID_CHARACTERS_FOUND;
            problem.Position = int(i);
            problem.Message = QStringLiteral("Control characters are not allowed in a formula.");
            return problem;
        }
    }
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
        what = Format(QStringLiteral("недопустимый знак в позиции %d"), {at});
        break;
    default:
        what = QStringLiteral("формулу невозможно вычислить");
        break;
    }
    return Format(QStringLiteral("Ошибка в формуле %d: %s.\r\rСообщение анализатора формул: %s"),
                  {formulaNumber, what, problem.Message});
}

} // namespace lot
