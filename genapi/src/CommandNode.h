// Command: writes its command value to an integer node to make the camera act,
// and reads the node back to learn whether the camera is done.
#ifndef GENAPI_DETAIL_COMMANDNODE_H
#define GENAPI_DETAIL_COMMANDNODE_H

#include <GenApi/ICommand.h>

#include "Node.h"

namespace GenApi {
namespace Detail {

class CommandNode final : public Node, public ICommand {
public:
    CommandNode(NodeMap& map, std::string_view name) : Node(map, name, intfICommand) {}
    void Finish(const pugi::xml_node& element, Loader& loader) override;

    INode* GetNode() override { return this; }
    // A command has no value to show or set as text.
    gcstring ToString(bool Verify = false, bool IgnoreCache = false) override;
    void FromString(const gcstring& ValueStr, bool Verify = true) override;
    void Execute(bool Verify = true) override;
    bool IsDone(bool Verify = true) override;

protected:
    bool ConfigureElement(Tag tag, const pugi::xml_node& element, Loader& loader) override;
    EAccessMode OwnAccess() override { return mValue.AccessMode(); }

private:
    ValueRef mValue;
    ValueRef mCommandValue = ValueRef::Literal(Number::Int(1));
};

} // namespace Detail
} // namespace GenApi

#endif
