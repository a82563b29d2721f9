// The interface list from GetAdaptersAddresses (IP Helper).
#include "os/NetworkInterfaces.h"

#include <winsock2.h>
#include <ws2tcpip.h>
// After the Winsock headers, which it needs.
#include <iphlpapi.h>

#include <algorithm>
#include <system_error>

namespace Os {

namespace {

std::string Utf8(const wchar_t* text)
{
    if (text == nullptr || *text == L'\0') {
        return {};
    }
    const int size = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
    if (size <= 1) {
        return {};
    }
    std::string result(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text, -1, &result[0], size, nullptr, nullptr);
    result.resize(static_cast<std::size_t>(size) - 1);
    return result;
}

// The adapters' list, grown and asked again while the system says it needs
// more room (adapters can appear between two calls).
std::vector<unsigned char> AdapterList()
{
    const ULONG flags = GAA_FLAG_SKIP_ANYCAST | GAA_FLAG_SKIP_MULTICAST | GAA_FLAG_SKIP_DNS_SERVER;
    ULONG size = 16 * 1024;
    for (int attempt = 0; attempt < 4; ++attempt) {
        std::vector<unsigned char> buffer(size);
        const ULONG result = GetAdaptersAddresses(
            AF_INET, flags, nullptr, reinterpret_cast<IP_ADAPTER_ADDRESSES*>(buffer.data()), &size);
        if (result == ERROR_SUCCESS) {
            return buffer;
        }
        if (result == ERROR_NO_DATA) {
            return {};
        }
        if (result != ERROR_BUFFER_OVERFLOW) {
            throw std::system_error(static_cast<int>(result), std::system_category(), "GetAdaptersAddresses");
        }
    }
    throw std::system_error(ERROR_BUFFER_OVERFLOW, std::system_category(), "GetAdaptersAddresses");
}

}

std::vector<NetworkInterface> NetworkInterfaces()
{
    const std::vector<unsigned char> buffer = AdapterList();
    std::vector<NetworkInterface> interfaces;
    if (buffer.empty()) {
        return interfaces;
    }
    for (auto adapter = reinterpret_cast<const IP_ADAPTER_ADDRESSES*>(buffer.data()); adapter != nullptr;
         adapter = adapter->Next) {
        for (const IP_ADAPTER_UNICAST_ADDRESS* unicast = adapter->FirstUnicastAddress; unicast != nullptr;
             unicast = unicast->Next) {
            const SOCKADDR* address = unicast->Address.lpSockaddr;
            if (address == nullptr || address->sa_family != AF_INET) {
                continue;
            }
            NetworkInterface item;
            item.name = Utf8(adapter->FriendlyName);
            item.index = adapter->IfIndex;
            item.address = Ipv4Address(ntohl(reinterpret_cast<const sockaddr_in*>(address)->sin_addr.s_addr));
            item.prefixLength = unicast->OnLinkPrefixLength;
            item.mtu = adapter->Mtu;
            item.loopback = adapter->IfType == IF_TYPE_SOFTWARE_LOOPBACK;
            item.up = adapter->OperStatus == IfOperStatusUp;
            // All bits set means the system does not know.
            item.linkSpeed = adapter->TransmitLinkSpeed == ~0ull ? 0 : adapter->TransmitLinkSpeed;
            interfaces.push_back(std::move(item));
        }
    }
    std::stable_sort(interfaces.begin(), interfaces.end(),
                     [](const NetworkInterface& a, const NetworkInterface& b) { return a.index < b.index; });
    return interfaces;
}

}
