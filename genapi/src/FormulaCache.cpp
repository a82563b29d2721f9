#include "FormulaCache.h"

#include <functional>

namespace GenApi {
namespace Detail {

std::size_t FormulaCache::KeyHash::operator()(const Key& key) const
{
    const std::hash<std::string_view> hash;
    return hash(key.mText) ^ (key.mSymbols->VariableNamesHash() * 31 + hash(key.mInput) * 7 +
                              static_cast<std::size_t>(key.mMode));
}

bool FormulaCache::KeyEqual::operator()(const Key& a, const Key& b) const
{
    return a.mText == b.mText && a.mMode == b.mMode && a.mInput == b.mInput &&
           a.mSymbols->SameVariableNames(*b.mSymbols);
}

std::shared_ptr<const Formula> FormulaCache::Compile(std::string_view text, const FormulaSymbols& symbols,
                                                     Formula::Mode mode, const char* inputName)
{
    if (!symbols.Shareable()) {
        return std::make_shared<const Formula>(text, symbols, mode, inputName);
    }
    const Key key{text, &symbols, mode, inputName ? inputName : ""};
    const auto found = mFormulas.find(key);
    if (found != mFormulas.end()) {
        return found->second;
    }
    auto formula = std::make_shared<const Formula>(text, symbols, mode, inputName);
    // A formula that looked into a node (an enumeration entry's value) is particular to it.
    if (!formula->ReadsNodes()) {
        mFormulas.emplace(key, formula);
    }
    return formula;
}

} // namespace Detail
} // namespace GenApi
