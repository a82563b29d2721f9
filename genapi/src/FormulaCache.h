// The formulas compiled while loading a description. Real descriptions repeat
// the same formula over many nodes; nodes whose formulas have the same text
// over variables of the same names (and nothing else) share one.
#ifndef GENAPI_DETAIL_FORMULACACHE_H
#define GENAPI_DETAIL_FORMULACACHE_H

#include <cstddef>
#include <memory>
#include <string_view>
#include <unordered_map>

#include "Formula.h"

namespace GenApi {
namespace Detail {

class FormulaCache {
public:
    // The texts and symbols stay where they are for as long as the cache: the
    // cache keeps neither a copy of a text nor of a name.
    std::shared_ptr<const Formula> Compile(std::string_view text, const FormulaSymbols& symbols, Formula::Mode mode,
                                           const char* inputName);

private:
    struct Key {
        std::string_view mText;
        const FormulaSymbols* mSymbols;
        Formula::Mode mMode;
        std::string_view mInput;
    };
    struct KeyHash {
        std::size_t operator()(const Key& key) const;
    };
    struct KeyEqual {
        bool operator()(const Key& a, const Key& b) const;
    };
    std::unordered_map<Key, std::shared_ptr<const Formula>, KeyHash, KeyEqual> mFormulas;
};

} // namespace Detail
} // namespace GenApi

#endif
