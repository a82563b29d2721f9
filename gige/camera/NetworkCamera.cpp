#include "NetworkCamera.h"

#include "EventLog.h"
#include "NetworkRegisters.h"
#include "camsim/Names.h"
#include "wire/GvcpHeader.h"

#include <stdexcept>

namespace GigeCamera {

namespace {

// A socket of the camera: on its address, and where the system can, tied to
// its adapter, so that its packets leave by that adapter whatever the routes
// say. The control channel shares its port with the discovery listener and
// may answer by broadcast.
Os::UdpSocket OpenSocket(const ServedAddress& address, std::uint16_t port, bool control)
{
    Os::UdpSocket socket;
    if (!socket.Open() || (control && (!socket.SharePort() || !socket.EnableBroadcast())) ||
        (Os::UdpSocket::CanBindToDevice() && !socket.BindToDevice(address.mInterface)) ||
        !socket.Bind({address.mAddress, port}))
        throw std::runtime_error(socket.LastError());
    return socket;
}

std::string Text(std::uint64_t value)
{
    return std::to_string(value);
}

}

NetworkCamera::NetworkCamera(const CamSim::CameraModel& model, const CamSim::DeviceSetup& setup,
                             const CamSim::DeviceIdentity& identity, const ServedAddress& address,
                             const Options& options, std::uint32_t seed, const Silence& silence)
    : mLabel(address.mAddress.ToString()), mAddress(address.mAddress),
      mCore(model, identity.mName, identity.mSerial, address.mAddress.Value(), setup.mDescription)
{
    Os::UdpSocket control = OpenSocket(address, Gige::GvcpPort, true);
    Os::UdpSocket stream = OpenSocket(address, 0, false);
    const NetworkIdentity network{address.mAddress.Value(), address.mSubnetMask, stream.LocalEndpoint().port,
                                  options.mResendFrames > 0, options.mFaults.mSlowStartMs};
    CamSim::Camera& camera = mCore.mModel;
    AddNetworkRegisters(camera, setup.mDescription, network);
    camera.SetUnpaced(setup.mUnpaced);
    if (setup.mPacketSize)
        camera.Registers().SetInteger("GevSCPSPacketSizeBits", *setup.mPacketSize);

    mStream = std::make_unique<StreamChannel>(
        mCore, std::move(stream), StreamSettings{mLabel, options.mResendFrames, options.mFaults, seed}, silence);
    mControl = std::make_unique<ControlServer>(
        mCore, std::move(control),
        ControlSettings{mLabel, address.mSubnetMask, options.mFaults.mSlowStartMs, options.mResendFrames > 0},
        silence);
    LogEvent(mLabel + ": \"" + identity.mName + "\", " + model.mName + " serial " + Text(identity.mSerial) + ", MAC " +
             CamSim::FormatMacAddress(camera.GetMacAddress()) + ", on " + address.mInterface);
}

NetworkCamera::~NetworkCamera()
{
    Stop();
}

void NetworkCamera::QueueDiscovery(const Os::Endpoint& host, std::uint16_t requestId, bool allowBroadcastAck)
{
    if (mControl)
        mControl->QueueDiscovery(host, requestId, allowBroadcastAck);
}

void NetworkCamera::Stop()
{
    if (!mControl || !mStream)
        return;
    mControl->Stop();
    mStream->Stop();
    const ControlCounts control = mControl->Counts();
    const StreamCounts stream = mStream->Counts();
    mSent = stream;
    LogEvent(mLabel + ": sent " + Text(stream.mFrames) + " frames in " + Text(stream.mPackets) + " packets (" +
             Text(stream.mDropped) + " dropped on purpose, " + Text(stream.mMalformed) + " malformed, " +
             Text(stream.mSendFailures) + " refused by the system); resend requests: " +
             Text(stream.mResendRequests) + " served with " + Text(stream.mResent) + " packets resent, " +
             Text(stream.mResentDropped) + " resent dropped on purpose, " + Text(stream.mUnavailable) +
             " unavailable; " + Text(control.mResendIgnored) + " ignored; " + Text(control.mRejected) +
             " control datagrams refused");
    mControl.reset();
    mStream.reset();
}

}
