// INodeMap: the nodes of one camera description.
#ifndef GENAPI_INODEMAP_H
#define GENAPI_INODEMAP_H

#include <GenApi/INode.h>
#include <GenApi/IPort.h>

namespace GenApi {

struct INodeMap {
    virtual void GetNodes(NodeList_t& Nodes) const = 0;
    // The node of exactly that name, or null.
    virtual INode* GetNode(const gcstring& Name) const = 0;
    // Forgets every cached value, so later reads ask the camera.
    virtual void InvalidateNodes() const = 0;
    // Connects the port to the description's port node of that name; false when there is none.
    virtual bool Connect(IPort* pPort, const gcstring& PortName) const = 0;
    virtual bool Connect(IPort* pPort) const = 0;
    virtual gcstring GetDeviceName() const = 0;
    virtual ~INodeMap() = default;
};

} // namespace GenApi

#endif
