// Category: a named group of features, as the camera wants them shown.
#ifndef GENAPI_DETAIL_CATEGORYNODE_H
#define GENAPI_DETAIL_CATEGORYNODE_H

#include <vector>

#include <GenApi/ICategory.h>

#include "Node.h"

namespace GenApi {
namespace Detail {

class CategoryNode final : public Node, public ICategory {
public:
    CategoryNode(NodeMap& map, std::string_view name) : Node(map, name, intfICategory) {}

    INode* GetNode() override { return this; }
    // A category has no value to show or set as text.
    gcstring ToString(bool Verify = false, bool IgnoreCache = false) override;
    void FromString(const gcstring& ValueStr, bool Verify = true) override;
    void GetFeatures(FeatureList_t& Features) const override;

protected:
    bool ConfigureElement(Tag tag, const pugi::xml_node& element, Loader& loader) override;
    EAccessMode OwnAccess() override { return RO; }

private:
    std::vector<Node*> mFeatures;
};

} // namespace Detail
} // namespace GenApi

#endif
