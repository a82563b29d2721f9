// A device's description: found through the producer's URL, read from the
// camera or from the GenICam folder, unpacked, loaded into the node map.
#include "diag/DriverContext.h"
#include "os/System.h"
#include "transport/CameraError.h"
#include "transport/DescriptionUrl.h"
#include "transport/Device.h"
#include "transport/ZipArchive.h"

#include <cstdio>
#include <cstring>
#include <memory>
#include <new>

namespace Kavrix {

namespace {

constexpr std::size_t UrlBufferSize = 2048;

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};

std::string AllocateDescription(std::size_t length)
{
    if (length > MaxDescriptionSize) {
        throw CameraError("Device::GetXml: Out of memory");
    }
    try {
        return std::string(length + 1, '\0');
    } catch (const std::bad_alloc&) {
        throw CameraError("Device::GetXml: Out of memory");
    }
}

// A camera names only a file inside the GenICam folder, never a path.
bool IsPlainFileName(const std::string& name)
{
    return !name.empty() && name.find('/') == std::string::npos && name.find('\\') == std::string::npos &&
           name.find("..") == std::string::npos;
}

}

std::string Device::ReadFileDescription(const std::string& name) const
{
    const auto root = Os::GetEnvironment("GENICAM_ROOT");
    if (!root || root->empty() || !IsPlainFileName(name)) {
        throw CameraError("Device::GetXml: XML not found");
    }
    std::string path = *root;
    if (path.back() != '/' && path.back() != Os::PathSeparator) {
        path += Os::PathSeparator;
    }
    path += std::string("xml") + Os::PathSeparator + "Cameras" + Os::PathSeparator + "Kavrix" + Os::PathSeparator +
            name;

    std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "rb"));
    if (!file) {
        throw CameraError("Device::GetXml: XML not found");
    }
    long length = -1;
    if (std::fseek(file.get(), 0, SEEK_END) == 0) {
        length = std::ftell(file.get());
        std::rewind(file.get());
    }
    if (length < 0) {
        throw CameraError("Device::GetXml: Error reading XML");
    }
    std::string data = AllocateDescription(static_cast<std::size_t>(length));
    const std::size_t read = std::fread(&data[0], 1, static_cast<std::size_t>(length), file.get());
    if (read == 0) {
        throw CameraError("Device::GetXml: Error reading XML");
    }
    data.resize(read);
    return data;
}

std::string Device::ReadLocalDescription(std::uint32_t address, std::uint32_t length) const
{
    std::string data = AllocateDescription(length);
    std::size_t size = length;
    CheckGCError(Api().GCReadData(GetHandle(), address, &data[0], &size),
                 "Device::GetXml: Failed to read xml from device");
    data.resize(size < length ? size : length);
    return data;
}

std::string Device::GetXml()
{
    // The information itself is not used; a device that cannot answer it is not usable.
    GetInfo(DEVICE_INFO_VENDOR);

    char url[UrlBufferSize] = {};
    std::size_t size = sizeof(url);
    CheckGCError(Api().GCGetURL(GetHandle(), url, &size, 1), "Device::GetXml: Failed to get xml url");
    url[sizeof(url) - 1] = '\0';

    const DescriptionUrl location = DescriptionUrl::Parse(url);
    std::string data;
    if (location.prefix == "file") {
        data = ReadFileDescription(location.fileName);
    } else if (location.prefix == "local") {
        data = ReadLocalDescription(location.address, location.length);
    } else {
        throw CameraError("Device::GetXml: Invalid XML URL prefix: " + location.prefix);
    }
    if (location.zipped) {
        return UnzipFirstEntry(data.data(), data.size());
    }
    data.resize(std::strlen(data.c_str()));
    return data;
}

void Device::LoadXml()
{
    if (!mXmlLoaded) {
        const std::string xml = GetXml();
        try {
            mNodeMap._LoadXMLFromString(xml.c_str());
            mXmlLoaded = true;
        } catch (const GenICam::RuntimeException& e) {
            Log(3, "Ignoring DLL loaded exception: %s", e.what());
            Os::DebugOutput(e.what());
        }
    }
    // Every open connects the new port, so a reopened device reads through its new handle.
    GenApi::IPort* port = mPort.get();
    if (mNodeMap._GetNode("Device") != nullptr) {
        mNodeMap._Connect(port, "Device");
    } else {
        mNodeMap._Connect(port, "CameraPort");
    }
}

}
