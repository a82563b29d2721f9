#include <functional>

#include "Formula.h"

namespace GenApi {
namespace Detail {

void FormulaSymbols::AddVariable(std::string_view name, Node* node) { mVariables.push_back({name, node}); }

void FormulaSymbols::AddConstant(std::string_view name, Number value) { mConstants.emplace_back(name, value); }

void FormulaSymbols::AddExpression(std::string_view name, std::string_view text)
{
    mExpressions.emplace_back(name, text);
}

int FormulaSymbols::FindVariable(std::string_view name) const
{
    for (std::size_t i = 0; i < mVariables.size(); ++i) {
        if (mVariables[i].mName == name) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

bool FormulaSymbols::SameVariableNames(const FormulaSymbols& other) const
{
    if (mVariables.size() != other.mVariables.size()) {
        return false;
    }
    for (std::size_t i = 0; i < mVariables.size(); ++i) {
        if (mVariables[i].mName != other.mVariables[i].mName) {
            return false;
        }
    }
    return true;
}

std::size_t FormulaSymbols::VariableNamesHash() const
{
    std::size_t hash = mVariables.size();
    for (const Variable& variable : mVariables) {
        hash = hash * 31 + std::hash<std::string_view>()(variable.mName);
    }
    return hash;
}

const Number* FormulaSymbols::FindConstant(std::string_view name) const
{
    for (const auto& constant : mConstants) {
        if (constant.first == name) {
            return &constant.second;
        }
    }
    return nullptr;
}

const std::string_view* FormulaSymbols::FindExpression(std::string_view name) const
{
    for (const auto& expression : mExpressions) {
        if (expression.first == name) {
            return &expression.second;
        }
    }
    return nullptr;
}

} // namespace Detail
} // namespace GenApi
