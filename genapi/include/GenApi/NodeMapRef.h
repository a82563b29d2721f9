// CNodeMapRef: the node map of one camera, filled from its description text.
// Copies share the same map.
#ifndef GENAPI_NODEMAPREF_H
#define GENAPI_NODEMAPREF_H

#include <memory>
#include <string>

#include <GenApi/INodeMap.h>

namespace GenApi {

namespace Detail {
class NodeMap;
}

class CNodeMapRef {
public:
    CNodeMapRef(const gcstring& DeviceName = "Device");
    CNodeMapRef(const CNodeMapRef& other);
    CNodeMapRef& operator=(const CNodeMapRef& other);
    ~CNodeMapRef();

    // Builds the map from a description. A malformed description raises a
    // RuntimeException that says where; a map loads only once (LogicalErrorException).
    void _LoadXMLFromString(const gcstring& XMLData);
    // The same, taking the text over: it is parsed where it lies, not copied.
    void _LoadXMLFromString(gcstring&& XMLData);
    void _LoadXMLFromFile(const gcstring& FileName);
    bool _IsLoaded() const { return _Ptr != nullptr; }
    // What loading passed over: elements that were empty or malformed but
    // change nothing the map computes (a display hint, say), one line per
    // element name. Empty before loading.
    void _GetLoadWarnings(GenICam::gcstring_vector& Warnings) const;

    gcstring _GetDeviceName() const;
    void _GetNodes(NodeList_t& Nodes) const;
    // The node of exactly that name, or null (also before loading).
    INode* _GetNode(const gcstring& Name) const;
    INode* GetNode(const gcstring& Name) const { return _GetNode(Name); }
    // Connects the port to the port node of that name; false when the description has none.
    bool _Connect(IPort* pPort, const gcstring& PortName) const;
    bool _Connect(IPort* pPort) const;
    void _InvalidateNodes() const;

    operator INodeMap*() const { return _Ptr; }

    // The loaded map; null until a description is loaded.
    INodeMap* _Ptr = nullptr;

private:
    void Load(std::string text);

    std::shared_ptr<Detail::NodeMap> mMap;
    gcstring mDeviceName;
};

} // namespace GenApi

#endif
