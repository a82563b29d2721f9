#include <GenApi/NodeMapRef.h>

#include <fstream>
#include <iterator>

#include <GenICam/GCException.h>

#include "Loader.h"
#include "NodeMap.h"

namespace GenApi {

CNodeMapRef::CNodeMapRef(const gcstring& DeviceName) : mDeviceName(DeviceName) {}

CNodeMapRef::CNodeMapRef(const CNodeMapRef& other) = default;

CNodeMapRef& CNodeMapRef::operator=(const CNodeMapRef& other) = default;

CNodeMapRef::~CNodeMapRef() = default;

void CNodeMapRef::_LoadXMLFromString(const gcstring& XMLData) { Load(XMLData.str()); }

void CNodeMapRef::_LoadXMLFromString(gcstring&& XMLData) { Load(std::string(std::move(XMLData))); }

void CNodeMapRef::Load(std::string text)
{
    if (mMap) {
        throw LOGICAL_ERROR_EXCEPTION("The node map of '%s' is already loaded", mDeviceName.c_str());
    }
    // Built aside and taken only when complete: a description that fails to
    // load leaves the map unloaded, to be loaded again later.
    auto map = std::make_shared<Detail::NodeMap>(mDeviceName.str());
    Detail::Loader loader(*map);
    loader.Load(std::move(text));
    mMap = std::move(map);
    _Ptr = mMap.get();
}

void CNodeMapRef::_LoadXMLFromFile(const gcstring& FileName)
{
    if (mMap) {
        throw LOGICAL_ERROR_EXCEPTION("The node map of '%s' is already loaded", mDeviceName.c_str());
    }
    std::ifstream file(FileName.c_str(), std::ios::binary);
    if (!file) {
        throw RUNTIME_EXCEPTION("Cannot open the description file '%s'", FileName.c_str());
    }
    std::string text((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    if (file.bad()) {
        throw RUNTIME_EXCEPTION("Cannot read the description file '%s'", FileName.c_str());
    }
    Load(std::move(text));
}

void CNodeMapRef::_GetLoadWarnings(GenICam::gcstring_vector& Warnings) const
{
    Warnings.clear();
    if (mMap) {
        Warnings.assign(mMap->Warnings().begin(), mMap->Warnings().end());
    }
}

gcstring CNodeMapRef::_GetDeviceName() const { return mDeviceName; }

void CNodeMapRef::_GetNodes(NodeList_t& Nodes) const
{
    Nodes.clear();
    if (_Ptr) {
        _Ptr->GetNodes(Nodes);
    }
}

INode* CNodeMapRef::_GetNode(const gcstring& Name) const { return _Ptr ? _Ptr->GetNode(Name) : nullptr; }

bool CNodeMapRef::_Connect(IPort* pPort, const gcstring& PortName) const
{
    return _Ptr ? _Ptr->Connect(pPort, PortName) : false;
}

bool CNodeMapRef::_Connect(IPort* pPort) const { return _Connect(pPort, "Device"); }

void CNodeMapRef::_InvalidateNodes() const
{
    if (_Ptr) {
        _Ptr->InvalidateNodes();
    }
}

} // namespace GenApi
