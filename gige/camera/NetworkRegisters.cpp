#include "NetworkRegisters.h"

#include "wire/BigEndian.h"
#include "wire/Bootstrap.h"

#include <vector>

namespace GigeCamera {

namespace {

namespace Bootstrap = Gige::Bootstrap;

constexpr std::uint32_t NetworkInterfaceCount = 0x0600;
constexpr std::uint32_t BootstrapBlockEnd = 0x0100;
// The addresses a camera takes by itself: persistent, DHCP and link-local.
constexpr std::uint32_t IpConfigurations =
    Bootstrap::IpConfigPersistent | Bootstrap::IpConfigDhcp | Bootstrap::IpConfigLla;

std::vector<std::uint8_t> Word(std::uint32_t value)
{
    std::vector<std::uint8_t> bytes(4);
    Gige::Put32(bytes.data(), value);
    return bytes;
}

// Maps the register where the description has none; else sets its value.
void Provide(CamSim::RegisterSpace& space, std::uint32_t address, std::uint32_t value, CamSim::Access access)
{
    if (space.IsMapped(address, 4)) {
        const std::vector<std::uint8_t> bytes = Word(value);
        space.Write(address, bytes.data(), bytes.size(), false);
    } else {
        space.MapBlock(address, Word(value), access);
    }
}

// Reserved words between the registers read as 0, so a host can read the
// block in one READMEM.
void FillGaps(CamSim::RegisterSpace& space, std::uint32_t begin, std::uint32_t end)
{
    std::uint32_t gap = begin;
    for (std::uint32_t address = begin; address <= end; address += 4) {
        if (address < end && !space.IsMapped(address, 4))
            continue;
        if (address > gap)
            space.MapBlock(gap, std::vector<std::uint8_t>(address - gap, 0), CamSim::Access::ReadOnly);
        gap = address + 4;
    }
}

// The bytes of a word that a register shares with no other register hold
// nothing, and take any write, so that the word can be read and written back.
void FillWords(CamSim::RegisterSpace& space, const CamSim::RegisterLayout& layout)
{
    for (const CamSim::RegisterRegion& region : layout.Regions()) {
        const std::uint64_t end = region.mAddress + region.mLength;
        for (const std::uint64_t edge : {region.mAddress, end}) {
            if (edge % 4 == 0)
                continue;
            const std::uint64_t word = edge & ~std::uint64_t{3};
            std::uint64_t gap = word;
            for (std::uint64_t address = word; address <= word + 4; ++address) {
                if (address < word + 4 && !space.IsMapped(address, 1))
                    continue;
                if (address > gap)
                    space.MapBlock(gap, std::vector<std::uint8_t>(address - gap, 0), CamSim::Access::ReadWrite);
                gap = address + 1;
            }
        }
    }
}

std::uint32_t Capabilities(bool offersResend)
{
    std::uint32_t capabilities = Bootstrap::CapabilityUserDefinedName | Bootstrap::CapabilitySerialNumber |
                                 Bootstrap::CapabilityHeartbeatDisable | Bootstrap::CapabilityConcatenation |
                                 Bootstrap::CapabilityWriteMem | Bootstrap::CapabilityPendingAck;
    if (offersResend)
        capabilities |= Bootstrap::CapabilityPacketResend;
    return capabilities;
}

}

void AddNetworkRegisters(CamSim::Camera& camera, CamSim::DescriptionForm form, const NetworkIdentity& identity)
{
    CamSim::RegisterSpace& space = camera.Registers();
    using CamSim::Access;
    Provide(space, Bootstrap::IpConfigOptions, IpConfigurations, Access::ReadOnly);
    WriteRegister(camera, Bootstrap::IpConfigCurrent,
                  ReadRegister(camera, Bootstrap::IpConfigCurrent) | Bootstrap::IpConfigLla);
    Provide(space, Bootstrap::CurrentIp, identity.mAddress, Access::ReadOnly);
    Provide(space, Bootstrap::CurrentSubnetMask, identity.mSubnetMask, Access::ReadOnly);
    Provide(space, Bootstrap::CurrentGateway, 0, Access::ReadOnly);
    FillGaps(space, 0, BootstrapBlockEnd);
    FillWords(space, *camera.GetModel().Layout());

    Provide(space, NetworkInterfaceCount, 1, Access::ReadOnly);
    Provide(space, Bootstrap::MessageChannelCount, 0, Access::ReadOnly);
    Provide(space, Bootstrap::StreamChannelCount, 1, Access::ReadOnly);
    Provide(space, Bootstrap::Capability, Capabilities(identity.mOffersResend), Access::ReadOnly);
    Provide(space, Bootstrap::GvcpConfig, 0, Access::ReadWrite);
    Provide(space, Bootstrap::PendingTimeout, identity.mPendingTimeoutMs, Access::ReadOnly);
    Provide(space, Bootstrap::GvspConfig, 0, Access::ReadWrite);
    Provide(space, Bootstrap::Scsp(0), identity.mStreamSourcePort, Access::ReadOnly);
    Provide(space, Bootstrap::Scc(0), 0, Access::ReadOnly);

    // GVCP moves whole words: the description's last bytes are read with
    // the zeros after them.
    std::vector<std::uint8_t> description = CamSim::ServeDescription(camera.GetModel(), form).mMemory;
    description.resize((description.size() + 3) / 4 * 4, 0);
    space.MapBlock(CamSim::DescriptionAddress, std::move(description), Access::ReadOnly);
}

std::uint32_t ReadRegister(const CamSim::Camera& camera, std::uint32_t address)
{
    std::uint8_t bytes[4] = {};
    camera.Registers().Read(address, bytes, sizeof bytes, false);
    return Gige::Get32(bytes);
}

void WriteRegister(CamSim::Camera& camera, std::uint32_t address, std::uint32_t value)
{
    std::uint8_t bytes[4];
    Gige::Put32(bytes, value);
    camera.Registers().Write(address, bytes, sizeof bytes, false);
}

}
