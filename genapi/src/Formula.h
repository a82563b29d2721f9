// The formula language of SwissKnife and Converter nodes, compiled once into a
// small tree and evaluated over the node's variables.
#ifndef GENAPI_DETAIL_FORMULA_H
#define GENAPI_DETAIL_FORMULA_H

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "Number.h"

namespace GenApi {
namespace Detail {

class Node;
class ValueRef;

// The names a formula may use: the node's variables (pVariable), constants,
// named expressions and the converter's input (FROM or TO). Names and texts
// lie in the description the map keeps.
class FormulaSymbols {
public:
    // Variables are numbered in the order they are added; the same numbers
    // index the references handed to Formula::Evaluate.
    void ReserveVariables(std::size_t count) { mVariables.reserve(count); }
    void AddVariable(std::string_view name, Node* node);
    void AddConstant(std::string_view name, Number value);
    void AddExpression(std::string_view name, std::string_view text);

    int FindVariable(std::string_view name) const;
    // Two nodes whose formulas read the same text over variables of the same
    // names (and nothing else) can share one compiled formula.
    bool Shareable() const { return mConstants.empty() && mExpressions.empty(); }
    bool SameVariableNames(const FormulaSymbols& other) const;
    std::size_t VariableNamesHash() const;
    Node* VariableNode(int index) const { return mVariables[static_cast<std::size_t>(index)].mNode; }
    const Number* FindConstant(std::string_view name) const;
    const std::string_view* FindExpression(std::string_view name) const;

private:
    struct Variable {
        std::string_view mName;
        Node* mNode;
    };
    std::vector<Variable> mVariables;
    std::vector<std::pair<std::string_view, Number>> mConstants;
    std::vector<std::pair<std::string_view, std::string_view>> mExpressions;
};

// A compiled formula. It does not change once compiled, so nodes with the
// same formula over the same variable names share one.
class Formula {
public:
    // Integer formulas keep integers exact (division truncates); float formulas compute in doubles.
    enum class Mode { Integer, Float };

    // Raises a RuntimeException describing what is wrong and at which position.
    // The text is not copied: it lies in the description the map keeps.
    Formula(std::string_view text, const FormulaSymbols& symbols, Mode mode, const char* inputName = nullptr);

    // Whether compiling looked into a variable's node (an enumeration entry's
    // value), which makes the result particular to those nodes.
    bool ReadsNodes() const { return mReadsNodes; }
    // How many operations deep evaluating it recurses.
    int Height() const { return mHeight; }

    // Evaluates with the node's variables and the converter's input; `owner`
    // names the node in error texts (division by zero, a result that is no number).
    Number Evaluate(std::vector<ValueRef>& variables, Number input, bool ignoreCache, const char* owner) const;

private:
    friend class FormulaParser;

    enum class Op : uint8_t {
        Literal,
        Variable,
        Input,
        Negate,
        Plus,
        Not,
        BitNot,
        Add,
        Subtract,
        Multiply,
        Divide,
        Remainder,
        Power,
        ShiftLeft,
        ShiftRight,
        BitAnd,
        BitOr,
        BitXor,
        LogicalAnd,
        LogicalOr,
        Equal,
        NotEqual,
        Less,
        Greater,
        LessEqual,
        GreaterEqual,
        Conditional,
        Function
    };
    enum class Attribute : uint8_t { Value, Min, Max, Inc };
    enum class Function : uint8_t {
        Sgn, Neg, Atan, Cos, Sin, Tan, Abs, Exp, Ln, Lg, Sqrt, Trunc, Floor, Ceil, Round, Asin, Acos
    };

    // One operation, 16 bytes: a load compiles tens of thousands of them.
    struct Item {
        Op mOp = Op::Literal;
        Attribute mAttribute = Attribute::Value;
        Function mFunction = Function::Sgn;
        // The operands; for a literal the index of its value, for a variable
        // the variable's number.
        int32_t mA = -1;
        int32_t mB = -1;
        int32_t mC = -1;
    };

    struct Context;
    Number Eval(int32_t index, Context& context) const;
    Number Binary(const Item& item, Number a, Number b, Context& context) const;
    Number Call(const Item& item, Number a, Context& context) const;

    std::vector<Item> mItems;
    std::vector<Number> mLiterals;
    int32_t mRoot = -1;
    int32_t mHeight = 0;
    Mode mMode = Mode::Integer;
    bool mReadsNodes = false;
    std::string_view mText;
};

} // namespace Detail
} // namespace GenApi

#endif
