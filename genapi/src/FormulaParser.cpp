// Compiles formula text into the formula's tree: operators with the
// precedence of the C family (the ternary lowest, unary operators highest,
// ** binding right to left), functions, constants, literals and variables.
#include "Formula.h"

#include <algorithm>
#include <cctype>
#include <charconv>

#include <GenICam/GCException.h>

#include "Excerpt.h"
#include "Node.h"

namespace GenApi {
namespace Detail {

namespace {

// Bounds that keep compiling and evaluating hostile text from exhausting the
// stack. Real descriptions chain conditions more than 50 deep. Each level of
// nesting costs the parser five frames (about 800 bytes optimised, 4 KB under
// AddressSanitizer), so the deepest formula fits a thread of 512 KB; each
// operation costs evaluation one frame.
constexpr int kMaxNesting = 512;
constexpr int32_t kMaxHeight = 1024;

// Plain ASCII classes: formulas are ASCII, and the C library's are slow and locale-bound.
bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f'; }
bool IsIdentifierStart(char c) { return IsLetter(c) || c == '_'; }
bool IsIdentifierChar(char c) { return IsLetter(c) || IsDigit(c) || c == '_' || c == '.'; }

} // namespace

class FormulaParser {
public:
    FormulaParser(Formula& formula, const FormulaSymbols& symbols, const char* inputName)
        : mFormula(formula), mSymbols(symbols), mInputName(inputName ? inputName : "")
    {
        mHeights.reserve(formula.mItems.capacity());
    }

    int Height(int32_t item) const { return mHeights[static_cast<std::size_t>(item)]; }

    int32_t ParseText(std::string_view text)
    {
        // Expressions are parsed where they are used, each from its own text.
        const std::string_view savedText = mText;
        const std::size_t savedPosition = mPosition;
        const Token savedToken = mToken;
        mText = text;
        mPosition = 0;
        Advance();
        const int32_t root = ParseTernary();
        if (Peek().mKind != Kind::End) {
            FailAt(Peek().mText, "unexpected '%s'", Excerpt(Peek().mText).c_str());
        }
        mText = savedText;
        mPosition = savedPosition;
        mToken = savedToken;
        return root;
    }

private:
    using Op = Formula::Op;
    using Item = Formula::Item;

    enum class Kind : uint8_t { Number, Name, Operator, Open, Close, Comma, Question, Colon, End };

    struct Token {
        Kind mKind = Kind::End;
        Op mOp = Op::Literal;
        // Binding strength of a binary operator, 0 for none.
        int mPrecedence = 0;
        // Whether the operator may also stand before an operand (- + ! ~).
        bool mUnary = false;
        std::string_view mText;
        Number mValue;
    };

    // One level of nesting: a parenthesis, the middle of a conditional or a
    // named expression used in place. Chains of operators and conditionals
    // are read in loops and cost none.
    struct Level {
        explicit Level(FormulaParser& parser) : mParser(parser)
        {
            if (++mParser.mNesting > kMaxNesting) {
                mParser.FailAt(mParser.Peek().mText, "nested deeper than %d levels", kMaxNesting);
            }
        }
        ~Level() { --mParser.mNesting; }
        Level(const Level&) = delete;
        Level& operator=(const Level&) = delete;
        FormulaParser& mParser;
    };

    template <class... Args>
    [[noreturn]] void Fail(std::size_t position, const char* format, Args... args) const
    {
        const std::string what = GenICam::FormatDescription(format, args...);
        throw RUNTIME_EXCEPTION("formula '%s': %s at position %d", Excerpt(mText).c_str(), what.c_str(),
                                static_cast<int>(position) + 1);
    }

    template <class... Args>
    [[noreturn]] void FailAt(std::string_view where, const char* format, Args... args) const
    {
        Fail(static_cast<std::size_t>(where.data() - mText.data()), format, args...);
    }

    // Reads the next token into mToken.
    void Advance()
    {
        std::size_t& i = mPosition;
        const std::size_t size = mText.size();
        while (i < size && IsSpace(mText[i])) {
            ++i;
        }
        // Filled in place: copying a freshly built token stalls on its own stores.
        Token& token = mToken;
        token.mKind = Kind::End;
        token.mOp = Op::Literal;
        token.mPrecedence = 0;
        token.mUnary = false;
        token.mText = mText.substr(size);
        if (i < size) {
            const char c = mText[i];
            const std::size_t start = i;
            const char next = i + 1 < size ? mText[i + 1] : '\0';
            auto op = [&](Op code, int precedence, std::size_t length, bool unary = false) {
                token.mKind = Kind::Operator;
                token.mOp = code;
                token.mPrecedence = precedence;
                token.mUnary = unary;
                i += length;
            };
            if (IsDigit(c) || (c == '.' && IsDigit(next))) {
                token.mKind = Kind::Number;
                token.mValue = ParseNumber(i);
            } else if (IsIdentifierStart(c)) {
                while (i < size && IsIdentifierChar(mText[i])) {
                    ++i;
                }
                token.mKind = Kind::Name;
            } else {
                switch (c) {
                case '(': token.mKind = Kind::Open; ++i; break;
                case ')': token.mKind = Kind::Close; ++i; break;
                case ',': token.mKind = Kind::Comma; ++i; break;
                case '?': token.mKind = Kind::Question; ++i; break;
                case ':': token.mKind = Kind::Colon; ++i; break;
                case '|': next == '|' ? op(Op::LogicalOr, 1, 2) : op(Op::BitOr, 3, 1); break;
                case '&': next == '&' ? op(Op::LogicalAnd, 2, 2) : op(Op::BitAnd, 5, 1); break;
                case '^': op(Op::BitXor, 4, 1); break;
                case '=': op(Op::Equal, 6, next == '=' ? 2 : 1); break;
                case '!': next == '=' ? op(Op::NotEqual, 6, 2) : op(Op::Not, 0, 1, true); break;
                case '<':
                    if (next == '>') {
                        op(Op::NotEqual, 6, 2);
                    } else if (next == '=') {
                        op(Op::LessEqual, 7, 2);
                    } else if (next == '<') {
                        op(Op::ShiftLeft, 8, 2);
                    } else {
                        op(Op::Less, 7, 1);
                    }
                    break;
                case '>':
                    if (next == '=') {
                        op(Op::GreaterEqual, 7, 2);
                    } else if (next == '>') {
                        op(Op::ShiftRight, 8, 2);
                    } else {
                        op(Op::Greater, 7, 1);
                    }
                    break;
                case '+': op(Op::Add, 9, 1, true); break;
                case '-': op(Op::Subtract, 9, 1, true); break;
                case '*': next == '*' ? op(Op::Power, 0, 2) : op(Op::Multiply, 10, 1); break;
                case '/': op(Op::Divide, 10, 1); break;
                case '%': op(Op::Remainder, 10, 1); break;
                case '~': op(Op::BitNot, 0, 1, true); break;
                default:
                    Fail(i, "unexpected '%c'", c);
                }
            }
            token.mText = mText.substr(start, i - start);
        }
    }

    Number ParseNumber(std::size_t& position) const
    {
        const char* begin = mText.data() + position;
        const char* end = mText.data() + mText.size();
        if (end - begin > 2 && begin[0] == '0' && (begin[1] == 'x' || begin[1] == 'X')) {
            uint64_t value = 0;
            const auto result = std::from_chars(begin + 2, end, value, 16);
            if (result.ec != std::errc() || result.ptr == begin + 2) {
                Fail(position, "malformed hexadecimal number");
            }
            position = static_cast<std::size_t>(result.ptr - mText.data());
            // Hexadecimal literals are bit patterns: 0xFFFFFFFFFFFFFFFF is -1.
            return Number::Int(static_cast<int64_t>(value));
        }
        const char* digitsEnd = begin;
        while (digitsEnd < end && IsDigit(*digitsEnd)) {
            ++digitsEnd;
        }
        const bool isFloat = digitsEnd < end && (*digitsEnd == '.' || *digitsEnd == 'e' || *digitsEnd == 'E');
        if (!isFloat) {
            int64_t value = 0;
            const auto result = std::from_chars(begin, digitsEnd, value, 10);
            if (result.ec == std::errc()) {
                position = static_cast<std::size_t>(digitsEnd - mText.data());
                return Number::Int(value);
            }
        }
        double value = 0.0;
        const auto result = std::from_chars(begin, end, value);
        if (result.ec != std::errc()) {
            Fail(position, "malformed number");
        }
        position = static_cast<std::size_t>(result.ptr - mText.data());
        return Number::Float(value);
    }

    // The parser reads the fields it needs and then advances: copying the
    // whole token just after it was filled would stall on its own stores.
    const Token& Peek() const { return mToken; }

    void Expect(Kind kind, char what)
    {
        if (Peek().mKind != kind) {
            if (Peek().mKind == Kind::End) {
                FailAt(Peek().mText, "expected '%c' but the formula ends", what);
            }
            FailAt(Peek().mText, "expected '%c' but found '%s'", what, Excerpt(Peek().mText).c_str());
        }
        Advance();
    }

    int32_t Add(Item item)
    {
        int32_t height = 0;
        const bool leaf = item.mOp == Op::Literal || item.mOp == Op::Variable || item.mOp == Op::Input;
        for (int32_t child : {item.mA, item.mB, item.mC}) {
            if (!leaf && child >= 0) {
                height = std::max(height, mHeights[static_cast<std::size_t>(child)]);
            }
        }
        if (height + 1 > kMaxHeight) {
            FailAt(Peek().mText, "more than %d operations deep", static_cast<int>(kMaxHeight));
        }
        mHeights.push_back(height + 1);
        mFormula.mItems.push_back(item);
        return static_cast<int32_t>(mFormula.mItems.size() - 1);
    }

    int32_t MakeLiteral(Number value)
    {
        Item item;
        item.mA = static_cast<int32_t>(mFormula.mLiterals.size());
        mFormula.mLiterals.push_back(value);
        return Add(item);
    }

    int32_t MakeOp(Op op, int32_t a, int32_t b = -1, int32_t c = -1)
    {
        Item item;
        item.mOp = op;
        item.mA = a;
        item.mB = b;
        item.mC = c;
        return Add(item);
    }

    // The conditional binds loosest and groups to the right: a ? b : c ? d : e
    // is read as one chain, its arms kept on mPending and joined from the end.
    int32_t ParseTernary()
    {
        const std::size_t base = mPending.size();
        int32_t value = ParseBinary();
        while (Peek().mKind == Kind::Question) {
            Advance();
            int32_t whenTrue = -1;
            {
                Level level(*this);
                whenTrue = ParseTernary();
            }
            Expect(Kind::Colon, ':');
            mPending.push_back(value);
            mPending.push_back(whenTrue);
            value = ParseBinary();
        }
        while (mPending.size() > base) {
            const int32_t whenTrue = mPending.back();
            mPending.pop_back();
            const int32_t condition = mPending.back();
            mPending.pop_back();
            value = MakeOp(Op::Conditional, condition, whenTrue, value);
        }
        return value;
    }

    // Binary operators, each precedence grouping to the left. The operands and
    // operators waiting for a tighter operator to complete go on mPending (as
    // operand, operator, precedence), so reading them takes no recursion.
    int32_t ParseBinary()
    {
        const std::size_t base = mPending.size();
        int32_t right = ParsePower();
        while (Peek().mKind == Kind::Operator && Peek().mPrecedence > 0) {
            const int precedence = Peek().mPrecedence;
            right = Reduce(base, precedence, right);
            mPending.push_back(right);
            mPending.push_back(static_cast<int32_t>(Peek().mOp));
            mPending.push_back(precedence);
            Advance();
            right = ParsePower();
        }
        return Reduce(base, 0, right);
    }

    // Applies the waiting operators that bind at least as tightly as `precedence`.
    int32_t Reduce(std::size_t base, int precedence, int32_t right)
    {
        while (mPending.size() > base && mPending.back() >= precedence) {
            const Op op = static_cast<Op>(mPending[mPending.size() - 2]);
            const int32_t left = mPending[mPending.size() - 3];
            mPending.resize(mPending.size() - 3);
            right = MakeOp(op, left, right);
        }
        return right;
    }

    // ** binds tighter than the other binary operators and groups to the right.
    int32_t ParsePower()
    {
        const std::size_t base = mPending.size();
        int32_t value = ParseUnary();
        while (Peek().mKind == Kind::Operator && Peek().mOp == Op::Power) {
            Advance();
            mPending.push_back(value);
            value = ParseUnary();
        }
        while (mPending.size() > base) {
            value = MakeOp(Op::Power, mPending.back(), value);
            mPending.pop_back();
        }
        return value;
    }

    int32_t ParseUnary()
    {
        const std::size_t base = mPending.size();
        while (Peek().mKind == Kind::Operator && Peek().mUnary) {
            mPending.push_back(static_cast<int32_t>(Peek().mOp));
            Advance();
        }
        int32_t value = ParsePrimary();
        while (mPending.size() > base) {
            const Op op = static_cast<Op>(mPending.back());
            mPending.pop_back();
            switch (op) {
            case Op::Subtract:
                value = MakeOp(Op::Negate, value);
                break;
            case Op::Add:
                value = MakeOp(Op::Plus, value);
                break;
            default:
                value = MakeOp(op, value);
                break;
            }
        }
        return value;
    }

    int32_t ParsePrimary()
    {
        const Kind kind = Peek().mKind;
        const std::string_view text = Peek().mText;
        const Number value = Peek().mValue;
        Advance();
        switch (kind) {
        case Kind::Open: {
            Level level(*this);
            const int32_t inner = ParseTernary();
            Expect(Kind::Close, ')');
            return inner;
        }
        case Kind::Number:
            return MakeLiteral(value);
        case Kind::Name:
            if (Peek().mKind == Kind::Open) {
                Advance();
                Level level(*this);
                return ParseCall(text);
            }
            return ResolveName(text);
        case Kind::End:
            FailAt(text, "the formula ends where a value is expected");
        default:
            FailAt(text, "unexpected '%s'", Excerpt(text).c_str());
        }
    }

    int32_t ParseCall(std::string_view name)
    {
        static const struct {
            const char* mName;
            Formula::Function mFunction;
        } functions[] = {{"SGN", Formula::Function::Sgn},     {"NEG", Formula::Function::Neg},
                         {"ATAN", Formula::Function::Atan},   {"COS", Formula::Function::Cos},
                         {"SIN", Formula::Function::Sin},     {"TAN", Formula::Function::Tan},
                         {"ABS", Formula::Function::Abs},     {"EXP", Formula::Function::Exp},
                         {"LN", Formula::Function::Ln},       {"LG", Formula::Function::Lg},
                         {"SQRT", Formula::Function::Sqrt},   {"TRUNC", Formula::Function::Trunc},
                         {"FLOOR", Formula::Function::Floor}, {"CEIL", Formula::Function::Ceil},
                         {"ROUND", Formula::Function::Round}, {"ASIN", Formula::Function::Asin},
                         {"ACOS", Formula::Function::Acos}};
        std::string upper(name);
        std::transform(upper.begin(), upper.end(), upper.begin(),
                       [](char c) { return static_cast<char>(std::toupper(static_cast<unsigned char>(c))); });
        for (const auto& function : functions) {
            if (upper != function.mName) {
                continue;
            }
            const int32_t argument = ParseTernary();
            int32_t precision = -1;
            if (function.mFunction == Formula::Function::Round && Peek().mKind == Kind::Comma) {
                Advance();
                precision = ParseTernary();
            }
            Expect(Kind::Close, ')');
            Item item;
            item.mOp = Op::Function;
            item.mFunction = function.mFunction;
            item.mA = argument;
            item.mB = precision;
            return Add(item);
        }
        FailAt(name, "unknown function '%s'", Excerpt(upper).c_str());
    }

    int32_t ResolveName(std::string_view name)
    {
        if (!mInputName.empty() && name == mInputName) {
            Item item;
            item.mOp = Op::Input;
            return Add(item);
        }
        int variable = mSymbols.FindVariable(name);
        if (variable >= 0) {
            return MakeVariable(variable, Formula::Attribute::Value);
        }
        if (const Number* constant = mSymbols.FindConstant(name)) {
            return MakeLiteral(*constant);
        }
        if (const std::string_view* expression = mSymbols.FindExpression(name)) {
            return ExpandExpression(name, *expression);
        }
        const std::size_t dot = name.find('.');
        if (dot != std::string_view::npos) {
            variable = mSymbols.FindVariable(name.substr(0, dot));
            if (variable >= 0) {
                return ResolveMember(variable, name.substr(dot + 1), name);
            }
        }
        if (name == "PI") {
            return MakeLiteral(Number::Float(3.14159265358979323846));
        }
        if (name == "E") {
            return MakeLiteral(Number::Float(2.71828182845904523536));
        }
        FailAt(name, "unknown name '%s'", Excerpt(name).c_str());
    }

    // VAR.Value, VAR.Min, VAR.Max, VAR.Inc, and for enumerations VAR.Entry.NAME
    // (or VAR.NAME) giving that entry's value.
    int32_t ResolveMember(int variable, std::string_view member, std::string_view whole)
    {
        if (member == "Value") {
            return MakeVariable(variable, Formula::Attribute::Value);
        }
        if (member == "Min") {
            return MakeVariable(variable, Formula::Attribute::Min);
        }
        if (member == "Max") {
            return MakeVariable(variable, Formula::Attribute::Max);
        }
        if (member == "Inc") {
            return MakeVariable(variable, Formula::Attribute::Inc);
        }
        std::string_view entry = member;
        if (entry.substr(0, 6) == "Entry.") {
            entry.remove_prefix(6);
        }
        int64_t value = 0;
        if (mSymbols.VariableNode(variable)->FindEntryValue(entry, value)) {
            mFormula.mReadsNodes = true;
            return MakeLiteral(Number::Int(value));
        }
        FailAt(whole, "'%s' names no value of its variable", Excerpt(whole).c_str());
    }

    int32_t MakeVariable(int variable, Formula::Attribute attribute)
    {
        Item item;
        item.mOp = Op::Variable;
        item.mA = variable;
        item.mAttribute = attribute;
        return Add(item);
    }

    int32_t ExpandExpression(std::string_view name, std::string_view text)
    {
        if (std::find(mExpanding.begin(), mExpanding.end(), name) != mExpanding.end()) {
            FailAt(name, "expression '%s' refers to itself", Excerpt(name).c_str());
        }
        mExpanding.push_back(name);
        Level level(*this);
        const int32_t root = ParseText(text);
        mExpanding.pop_back();
        return root;
    }

    Formula& mFormula;
    const FormulaSymbols& mSymbols;
    std::string_view mInputName;
    std::string_view mText;
    std::size_t mPosition = 0;
    Token mToken;
    int mNesting = 0;
    // Operands and operators of the chains being read, above those of enclosing chains.
    std::vector<int32_t> mPending;
    // How many operations deep each operation reaches, itself included.
    std::vector<int32_t> mHeights;
    std::vector<std::string_view> mExpanding;
};

Formula::Formula(std::string_view text, const FormulaSymbols& symbols, Mode mode, const char* inputName)
    : mMode(mode), mText(text)
{
    // Real formulas hold about one operation per three characters and one
    // literal per ten: reserved so, the lists are filled without growing by
    // copies; then they keep only what they hold.
    mItems.reserve(text.size() / 3 + 1);
    mLiterals.reserve(text.size() / 10 + 1);
    FormulaParser parser(*this, symbols, inputName);
    mRoot = parser.ParseText(mText);
    mHeight = parser.Height(mRoot);
    mItems.shrink_to_fit();
    mLiterals.shrink_to_fit();
    if (mode == Mode::Float) {
        for (Number& literal : mLiterals) {
            if (!literal.mIsFloat) {
                literal = Number::Float(static_cast<double>(literal.mInt));
            }
        }
    }
}

} // namespace Detail
} // namespace GenApi
