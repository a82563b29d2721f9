// Node: a node with names and texts only, no value.
#ifndef GENAPI_DETAIL_BASICNODE_H
#define GENAPI_DETAIL_BASICNODE_H

#include "Node.h"

namespace GenApi {
namespace Detail {

class BasicNode final : public Node {
public:
    BasicNode(NodeMap& map, std::string_view name) : Node(map, name, intfIBase) {}
};

} // namespace Detail
} // namespace GenApi

#endif
