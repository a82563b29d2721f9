// Prints the feature tree of a loaded node map: what loading passed over in
// the description as warnings, then each category under "Root",
// each feature with its kind, access mode and value (or the error reading it
// raised), nested categories indented, and a closing summary line.
#ifndef KAVRIX_DESCRIBE_TREEPRINTER_H
#define KAVRIX_DESCRIBE_TREEPRINTER_H

#include <ostream>
#include <vector>

#include <GenApi/GenApi.h>

struct TreeSummary {
    int mCategories = 0; // categories directly under Root
    int mFeatures = 0;   // their entries that are not categories
    int mValues = 0;     // of those, the ones whose value could be read
    int mErrors = 0;     // and the ones whose read raised
};

class TreePrinter {
public:
    explicit TreePrinter(std::ostream& out) : mOut(out) {}

    // Returns false when the map has no "Root" category.
    bool Print(GenApi::CNodeMapRef& map, double loadMilliseconds);
    const TreeSummary& Summary() const { return mSummary; }

private:
    void PrintCategory(GenApi::ICategory& category, int depth, bool counted);
    void PrintFeature(GenApi::IValue& feature, int depth, bool counted);

    std::ostream& mOut;
    TreeSummary mSummary;
    std::vector<GenApi::INode*> mPath;
};

// The interface a feature is used through, in the order the driver tests them.
const char* FeatureKind(GenApi::INode* node);

#endif
