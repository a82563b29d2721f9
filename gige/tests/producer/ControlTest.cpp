// The control channel against a camera that misbehaves on request.
#include "Fixture.h"
#include "ScriptedCamera.h"

#include "wire/Bootstrap.h"

#include <gtest/gtest.h>

#include <thread>
#include <vector>

using namespace Test;
using Gige::GvcpCode;

namespace {

const std::string Camera = "Kavrix KX-1300-60gm (21810742)";

}

TEST(Control, RetriesIgnoresStrayAcksWaitsWhenAskedAndNamesRefusals)
{
    ScriptedCamera camera;
    Session session;
    ASSERT_EQ(session.Cameras(), std::vector<std::string>{Camera}) << "answered by broadcast";
    DEV_HANDLE device = session.OpenFirst();
    ASSERT_NE(device, nullptr);
    EXPECT_EQ(camera.Register(Gige::Bootstrap::Ccp), 1u) << "exclusive";

    // Two tries lost: the third, with the same ID, answers.
    camera.SetScript({2});
    long long start = Now();
    EXPECT_EQ(ReadRegister(device, 0x01F0), 0x12345678u);
    EXPECT_GE(Now() - start, 400);

    // Acks of another request, of another code and of the wrong size first.
    ScriptedCamera::Script stray;
    stray.mStrayFirst = true;
    camera.SetScript(stray);
    EXPECT_EQ(ReadRegister(device, 0x01F0), 0x12345678u);

    // The camera asks for a second: longer than every try together.
    ScriptedCamera::Script pending;
    pending.mPendingMs = 1000;
    camera.SetScript(pending);
    const int readMems = camera.Seen(GvcpCode::ReadMemCmd);
    unsigned char block[8];
    size_t size = sizeof block;
    start = Now();
    ASSERT_EQ(GCReadData(device, 0x10000, block, &size), GC_ERR_SUCCESS) << LastError();
    EXPECT_GE(Now() - start, 850);
    EXPECT_EQ(block[1], 7);
    EXPECT_EQ(camera.Seen(GvcpCode::ReadMemCmd), readMems + 1) << "not sent again while pending";

    // A refusal names the status; silence names the tries.
    ScriptedCamera::Script refuse;
    refuse.mRefuseAddress = 0x0100;
    camera.SetScript(refuse);
    const unsigned char value[4] = {0, 0, 2, 0};
    size = sizeof value;
    EXPECT_EQ(GCWriteData(device, 0x0100, value, &size), GC_ERR_ACCESS_DENIED);
    EXPECT_EQ(LastError(), "GCWriteData: " + Camera + " (169.254.10.1): WRITEREG 0x00000100 = 0x00000200 refused: "
                           "GVCP status 0x8006 (access denied)");
    camera.SetScript({3});
    size = 4;
    EXPECT_EQ(GCReadData(device, 0x01F0, block, &size), GC_ERR_TIMEOUT);
    EXPECT_EQ(LastError(), "GCReadData: " + Camera + " (169.254.10.1): READREG 0x000001F0: no answer after 3 tries "
                           "of 200 ms");
    camera.SetScript({});

    EXPECT_EQ(DevClose(device), GC_ERR_SUCCESS);
    EXPECT_EQ(camera.Register(Gige::Bootstrap::Ccp), 0u) << "given back";
}

TEST(Control, TriesAndTimeoutComeFromTheEnvironment)
{
    ScriptedCamera camera;
    const ScopedVariable tries("KAVRIX_GIGE_RETRIES", "2");
    const ScopedVariable timeout("KAVRIX_GIGE_TIMEOUT_MS", "100");
    Session session;
    DEV_HANDLE device = session.OpenFirst();
    ASSERT_NE(device, nullptr);
    camera.SetScript({2});
    unsigned char bytes[4];
    size_t size = sizeof bytes;
    const long long start = Now();
    EXPECT_EQ(GCReadData(device, 0x01F0, bytes, &size), GC_ERR_TIMEOUT);
    EXPECT_LT(Now() - start, 400);
    EXPECT_NE(LastError().find("no answer after 2 tries of 100 ms"), std::string::npos) << LastError();
}

TEST(Control, WritesInPiecesByWritememWhenTheCameraHasItElseByRegister)
{
    ScriptedCamera camera;
    std::vector<unsigned char> data(1000);
    for (std::size_t i = 0; i < data.size(); ++i)
        data[i] = static_cast<unsigned char>(i);
    for (const bool writeMemory : {false, true}) {
        SCOPED_TRACE(writeMemory ? "WRITEMEM" : "WRITEREG");
        camera.SetRegister(Gige::Bootstrap::Capability, writeMemory ? Gige::Bootstrap::CapabilityWriteMem : 0);
        Session session;
        DEV_HANDLE device = session.OpenFirst();
        ASSERT_NE(device, nullptr);
        const int writeMems = camera.Seen(GvcpCode::WriteMemCmd);
        const int writeRegs = camera.Seen(GvcpCode::WriteRegCmd);
        size_t size = data.size();
        ASSERT_EQ(GCWriteData(device, 0x8000, data.data(), &size), GC_ERR_SUCCESS) << LastError();
        EXPECT_EQ(camera.Seen(GvcpCode::WriteMemCmd) - writeMems, writeMemory ? 2 : 0);
        EXPECT_EQ(camera.Seen(GvcpCode::WriteRegCmd) - writeRegs, writeMemory ? 0 : 250);
        std::vector<unsigned char> back(data.size() - 3);
        size = back.size();
        ASSERT_EQ(GCReadData(device, 0x8001, back.data(), &size), GC_ERR_SUCCESS) << LastError();
        EXPECT_TRUE(std::equal(back.begin(), back.end(), data.begin() + 1));
        camera.SetBytes(0x8000, std::vector<std::uint8_t>(data.size(), 0));
    }
}

TEST(Heartbeat, GetsItsTurnDuringALongTransferAndALostCameraFailsAtOnce)
{
    ScriptedCamera camera;   // heartbeat timeout 600 ms: a probe every 200 ms
    Session session;
    DEV_HANDLE device = session.OpenFirst();
    ASSERT_NE(device, nullptr);
    camera.TakePrivilegeReads();

    // 128 pieces of 10 ms each: 1.3 s in which a reader never lets go.
    ScriptedCamera::Script slow;
    slow.mReadMemDelayMs = 10;
    camera.SetScript(slow);
    std::vector<unsigned char> memory(0x10000);
    size_t size = memory.size();
    ASSERT_EQ(GCReadData(device, 0x10000, memory.data(), &size), GC_ERR_SUCCESS) << LastError();
    EXPECT_GE(camera.TakePrivilegeReads(), 4);

    ScriptedCamera::Script silent;
    silent.mSilent = true;
    camera.SetScript(silent);
    const long long start = Now();
    unsigned char bytes[4];
    GC_ERROR result = GC_ERR_SUCCESS;
    long long failedFastAt = 0;
    while (Now() - start < 3000 && failedFastAt == 0) {
        size = sizeof bytes;
        const long long before = Now();
        result = GCReadData(device, 0x01F0, bytes, &size);
        if (result != GC_ERR_SUCCESS && Now() - before < 20)
            failedFastAt = before;
    }
    EXPECT_EQ(result, GC_ERR_TIMEOUT);
    EXPECT_LT(failedFastAt - start, 1500) << "a probe every 200 ms, 3 tries of 200 ms";
    EXPECT_EQ(LastError(), "GCReadData: " + Camera + " (169.254.10.1): heartbeat lost (READREG 0x00000A00: no "
                           "answer after 3 tries of 200 ms): the camera stopped answering");
    DS_HANDLE stream = nullptr;
    EXPECT_EQ(DevCreateDataStream(device, 0, &stream), GC_ERR_TIMEOUT);
}

TEST(Privilege, ReadBeforeWrittenAndRefusedWhenAnotherHoldsIt)
{
    ScriptedCamera camera;
    camera.SetRegister(Gige::Bootstrap::Ccp, Gige::Bootstrap::CcpControl);
    Session session;
    DEV_HANDLE device = nullptr;
    EXPECT_EQ(TLOpenDevice(session.Interface(), Camera.c_str(), DEVICE_ACCESS_EXCLUSIVE, &device),
              GC_ERR_ACCESS_DENIED);
    EXPECT_EQ(LastError(), "TLOpenDevice: " + Camera + " (169.254.10.1): another application controls the camera "
                           "(its privilege register reads 0x00000002)");
    EXPECT_EQ(camera.Seen(GvcpCode::WriteRegCmd), 0) << "nothing written";

    camera.SetRegister(Gige::Bootstrap::Ccp, 0);
    ASSERT_EQ(TLOpenDevice(session.Interface(), Camera.c_str(), DEVICE_ACCESS_CONTROL, &device), GC_ERR_SUCCESS)
        << LastError();
    EXPECT_EQ(camera.Register(Gige::Bootstrap::Ccp), 2u);

    // One stream per device; an acquisition needs buffers.
    DS_HANDLE stream = nullptr;
    ASSERT_EQ(DevCreateDataStream(device, 0, &stream), GC_ERR_SUCCESS) << LastError();
    DS_HANDLE second = nullptr;
    EXPECT_EQ(DevCreateDataStream(device, 0, &second), GC_ERR_ACCESS_DENIED);
    EXPECT_NE(DSStartAcquisition(stream, 0, ~0ull), GC_ERR_SUCCESS);
    EXPECT_EQ(LastError(), "DSStartAcquisition: no buffer announced: announce buffers before acquisition starts");
    EXPECT_EQ(DevClose(device), GC_ERR_SUCCESS);
    EXPECT_EQ(DSClose(stream), GC_ERR_INVALID_HANDLE) << "closed with its device";
    EXPECT_EQ(camera.Register(Gige::Bootstrap::Ccp), 0u);
}

TEST(Discovery, TwoCamerasOnOneAddressAreBothListedAndNeitherOpens)
{
    Gige::DeviceInfo other = ScriptedCamera::Identity();
    other.mMac[5] = 0x37;
    other.mSerial = "21810743";
    other.mUserName = "Line 3\t[top]";
    ScriptedCamera camera({ScriptedCamera::Identity(), other});
    Session session;
    ASSERT_EQ(session.Cameras(), (std::vector<std::string>{Camera, "Line 3 (top)"}));
    for (const std::string& name : session.Cameras()) {
        DEV_HANDLE device = nullptr;
        EXPECT_EQ(TLOpenDevice(session.Interface(), name.c_str(), DEVICE_ACCESS_EXCLUSIVE, &device),
                  GC_ERR_ACCESS_DENIED);
        EXPECT_EQ(LastError(), "TLOpenDevice: " + name + " (169.254.10.1): cannot be opened: 169.254.10.1 is claimed "
                               "by 2 cameras (02:4B:58:4C:88:36, 02:4B:58:4C:88:37): an address conflict; give "
                               "each camera an address of its own");
    }
}

TEST(Stream, TheSettingsGiveThePacketSizeAndDelayAsTheyAre)
{
    const ScopedVariable size("KAVRIX_GIGE_PACKET_SIZE", "1200");
    const ScopedVariable delay("KAVRIX_GIGE_PACKET_DELAY", "777");
    ScriptedCamera camera;
    Session session;
    DEV_HANDLE device = session.OpenFirst();
    ASSERT_NE(device, nullptr);
    DS_HANDLE stream = nullptr;
    ASSERT_EQ(DevCreateDataStream(device, 0, &stream), GC_ERR_SUCCESS) << LastError();
    std::vector<std::uint8_t> memory(4096);
    BUFFER_HANDLE buffer = nullptr;
    ASSERT_EQ(DSAnnounceBuffer(stream, memory.data(), memory.size(), nullptr, &buffer), GC_ERR_SUCCESS);
    ASSERT_EQ(DSStartAcquisition(stream, 0, ~0ull), GC_ERR_SUCCESS) << LastError();
    EXPECT_EQ(camera.Register(Gige::Bootstrap::Scps(0)) & Gige::Bootstrap::ScpsPacketSizeMask, 1200u);
    EXPECT_EQ(camera.Register(Gige::Bootstrap::Scpd(0)), 777u);
    std::uint64_t used = 0;
    std::size_t bytes = sizeof used;
    EXPECT_EQ(DSGetInfo(stream, STREAM_INFO_PACKET_SIZE, nullptr, &used, &bytes), GC_ERR_SUCCESS);
    EXPECT_EQ(used, 1200u);
    EXPECT_EQ(DevClose(device), GC_ERR_SUCCESS);
}
