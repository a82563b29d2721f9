#include "TreePrinter.h"

#include <algorithm>
#include <iomanip>
#include <string>

using namespace GenApi;

namespace {
// Real feature trees nest a few levels; deeper ones are shown down to here.
constexpr int kMaxDepth = 64;
// Large registers (file buffers, lookup tables) are shown by their beginning.
constexpr std::size_t kMaxValueText = 64;

std::string Indent(int depth) { return std::string(static_cast<std::size_t>(depth) * 2, ' '); }
} // namespace

const char* FeatureKind(INode* node)
{
    if (dynamic_cast<ICategory*>(node)) {
        return "Category";
    }
    if (dynamic_cast<IInteger*>(node)) {
        return "Integer";
    }
    if (dynamic_cast<IBoolean*>(node)) {
        return "Boolean";
    }
    if (dynamic_cast<IFloat*>(node)) {
        return "Float";
    }
    if (dynamic_cast<IString*>(node)) {
        return "String";
    }
    if (dynamic_cast<IEnumeration*>(node)) {
        return "Enumeration";
    }
    if (dynamic_cast<ICommand*>(node)) {
        return "Command";
    }
    if (dynamic_cast<IRegister*>(node)) {
        return "Register";
    }
    if (dynamic_cast<IEnumEntry*>(node)) {
        return "EnumEntry";
    }
    return "Node";
}

bool TreePrinter::Print(CNodeMapRef& map, double loadMilliseconds)
{
    mSummary = TreeSummary();
    gcstring_vector warnings;
    map._GetLoadWarnings(warnings);
    for (const gcstring& warning : warnings) {
        mOut << "warning: " << warning << "\n";
    }
    CCategoryPtr root = map._GetNode("Root");
    if (!root) {
        mOut << "no Root category\n";
        return false;
    }
    FeatureList_t features;
    root->GetFeatures(features);
    for (IValue* feature : features) {
        if (auto* category = dynamic_cast<ICategory*>(feature)) {
            ++mSummary.mCategories;
            mPath.assign(1, feature->GetNode());
            PrintCategory(*category, 0, true);
        }
    }
    mOut << "summary: categories=" << mSummary.mCategories << " features=" << mSummary.mFeatures
         << " values=" << mSummary.mValues << " errors=" << mSummary.mErrors << " load_ms=" << std::fixed
         << std::setprecision(1) << loadMilliseconds << "\n";
    return true;
}

void TreePrinter::PrintCategory(ICategory& category, int depth, bool counted)
{
    INode* node = category.GetNode();
    mOut << Indent(depth) << "[" << node->GetName() << "]\n";
    FeatureList_t features;
    category.GetFeatures(features);
    for (IValue* feature : features) {
        auto* nested = dynamic_cast<ICategory*>(feature);
        if (!nested) {
            PrintFeature(*feature, depth + 1, counted);
            continue;
        }
        INode* nestedNode = feature->GetNode();
        if (std::find(mPath.begin(), mPath.end(), nestedNode) != mPath.end()) {
            mOut << Indent(depth + 1) << "[" << nestedNode->GetName() << "] (contains itself)\n";
            continue;
        }
        if (depth + 1 >= kMaxDepth) {
            mOut << Indent(depth + 1) << "[" << nestedNode->GetName() << "] (nested deeper than " << kMaxDepth
                 << " levels, not shown)\n";
            continue;
        }
        mPath.push_back(nestedNode);
        PrintCategory(*nested, depth + 1, false);
        mPath.pop_back();
    }
}

void TreePrinter::PrintFeature(IValue& feature, int depth, bool counted)
{
    INode* node = feature.GetNode();
    const char* kind = FeatureKind(node);
    mOut << Indent(depth) << node->GetName() << "  " << kind << "  ";
    if (counted) {
        ++mSummary.mFeatures;
    }
    try {
        const EAccessMode mode = node->GetAccessMode();
        mOut << AccessModeName(mode) << "  ";
        // Only values are read: a command has none, and what the access mode
        // forbids to read is not a value of this camera now.
        if (!IsReadable(mode) || dynamic_cast<ICommand*>(node)) {
            mOut << "-\n";
            return;
        }
        const std::string value = feature.ToString();
        mOut << "= " << value.substr(0, kMaxValueText);
        if (value.size() > kMaxValueText) {
            mOut << "... (" << value.size() << " characters)";
        }
        mOut << "\n";
        if (counted) {
            ++mSummary.mValues;
        }
    } catch (const std::exception& e) {
        mOut << "error: " << e.what() << "\n";
        if (counted) {
            ++mSummary.mErrors;
        }
    }
}
