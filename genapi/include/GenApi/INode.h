// INode: a node of the map with its name, texts and relations.
#ifndef GENAPI_INODE_H
#define GENAPI_INODE_H

#include <GenApi/IBase.h>

namespace GenApi {

struct INodeMap;

struct INode : virtual IBase {
    // The node's name; with FullQualified, prefixed by its name space ("Std::", "Cust::").
    virtual gcstring GetName(bool FullQualified = false) const = 0;
    virtual ENameSpace GetNameSpace() const = 0;
    virtual EVisibility GetVisibility() const = 0;
    virtual gcstring GetToolTip() const = 0;
    virtual gcstring GetDescription() const = 0;
    virtual gcstring GetDisplayName() const = 0;
    virtual gcstring GetDeviceName() const = 0;
    virtual EInterfaceType GetPrincipalInterfaceType() const = 0;
    // Forgets what the node cached, so the next read asks the camera.
    virtual void InvalidateNode() = 0;
    virtual bool IsCachable() const = 0;
    virtual ECachingMode GetCachingMode() const = 0;
    virtual int64_t GetPollingTime() const = 0;
    virtual bool IsStreamable() const = 0;
    virtual INode* GetAlias() const = 0;
    virtual INodeMap* GetNodeMap() const = 0;
};

} // namespace GenApi

#endif
