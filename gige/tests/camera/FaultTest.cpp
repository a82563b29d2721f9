#include "CameraLab.h"

#include "wire/Bootstrap.h"
#include "wire/GvcpStatus.h"
#include "wire/PacketResend.h"
#include "wire/PendingAck.h"
#include "wire/RegisterAccess.h"

#include <gtest/gtest.h>

#include <chrono>
#include <set>

using namespace CameraLab;
namespace Bootstrap = Gige::Bootstrap;
namespace Status = Gige::GvcpStatus;
using Gige::GvspFormat;

TEST(Faults, DroppedPacketsComeBackOnRequest)
{
    GigeCamera::Options options;
    options.mFaults.mDrop = 0.3;
    options.mFaults.mSeed = 7;
    Cameras cameras(options);
    ControlClient host;
    StreamReceiver receiver;
    ASSERT_EQ(host.TakeControl(), 0);
    OpenStream(host, receiver, 576);
    TriggeredSmallImage(host);
    int dropped = 0;
    for (int frame = 0; frame < 8; ++frame) {
        Trigger(host);
        std::set<std::uint32_t> ids;
        std::uint64_t block = 0;
        while (auto packet = receiver.Next(300)) {
            ids.insert(packet->mHeader.mPacketId);
            block = packet->mHeader.mBlockId;
        }
        ASSERT_NE(block, 0u) << "a whole frame dropped; another seed would do";
        for (std::uint32_t id = 0; id < 6; ++id) {
            if (ids.count(id) != 0)
                continue;
            ++dropped;
            Gige::GvcpBuffer command;
            const Gige::PacketResend resend{false, 0, block, id, id};
            ASSERT_TRUE(receiver.Socket().SendTo(host.Camera(), command.data(),
                                                 Gige::EncodePacketResend(1, resend, command)));
            const auto again = receiver.Next();
            ASSERT_TRUE(again) << "packet " << id << " of block " << block;
            EXPECT_EQ(again->mHeader.mPacketId, id);
            EXPECT_EQ(again->mHeader.mStatus, Status::PacketResend);
        }
    }
    EXPECT_GT(dropped, 0);
}

TEST(Faults, MalformedPacketsAreEachMalformedOneOfTheWaysAsked)
{
    GigeCamera::Options options;
    options.mFaults.mMalformed = 1;
    Cameras cameras(options);
    ControlClient host;
    StreamReceiver receiver;
    ASSERT_EQ(host.TakeControl(), 0);
    OpenStream(host, receiver, 576);
    TriggeredSmallImage(host);
    Trigger(host);
    std::vector<Packet> frame;
    std::set<std::string> kinds;
    while (auto packet = receiver.Next(300)) {
        const Gige::GvspHeader& header = packet->mHeader;
        const bool frameBlock = frame.empty() || header.mBlockId == frame[0].mHeader.mBlockId;
        if (packet->mBytes.size() < 8)
            kinds.insert("truncated");
        else if (!frameBlock)
            kinds.insert("wrong-block");
        else if (header.mFormat == GvspFormat::Payload && header.mPacketId == 0)
            kinds.insert("wrong-id");
        else if (header.mPacketId > 5)
            kinds.insert("beyond-frame");
        else if (packet->BodySize() > 540)
            kinds.insert("oversized");
        else if (header.mPacketId == frame.size())
            frame.push_back(std::move(*packet));
        else
            ADD_FAILURE() << "packet " << header.mPacketId << " after " << frame.size() << " sound ones";
    }
    EXPECT_EQ(frame.size(), 6u) << "the sound packets all came, in order";
    EXPECT_FALSE(kinds.empty());
}

TEST(Faults, ASlowStartIsAnnouncedByAPendingAckWhereTheHostAllowsIt)
{
    GigeCamera::Options options;
    options.mFaults.mSlowStartMs = 300;
    Cameras cameras(options);
    ControlClient host;
    ASSERT_EQ(host.TakeControl(), 0);
    EXPECT_EQ(host.ReadRegister(Bootstrap::PendingTimeout), 300u);
    const Gige::RegisterWrite start{Kx1300Register("AcquisitionStartReg"), 1};
    Gige::GvcpBuffer command;
    for (const bool allowed : {false, true}) {
        SCOPED_TRACE(allowed ? "pending acks allowed" : "pending acks not allowed");
        ASSERT_EQ(host.WriteRegister(Bootstrap::GvcpConfig, allowed ? Bootstrap::GvcpConfigPendingAck : 0), 0);
        const std::uint16_t id = host.NextId();
        const auto sent = std::chrono::steady_clock::now();
        host.Send(command, Gige::EncodeWriteRegCommand(id, &start, 1, command));
        auto ack = host.Receive(id, 2000, true);
        ASSERT_TRUE(ack);
        if (allowed) {
            ASSERT_EQ(ack->mCode, Gige::GvcpCode::PendingAck);
            EXPECT_LT(std::chrono::steady_clock::now() - sent, std::chrono::milliseconds(250));
            ASSERT_EQ(ack->mBody.size(), 4u);
            EXPECT_EQ(ack->mBody[2] << 8 | ack->mBody[3], 300);
            ack = host.Receive(id, 2000, true);
            ASSERT_TRUE(ack);
        }
        EXPECT_EQ(ack->mCode, Gige::GvcpCode::WriteRegAck);
        EXPECT_EQ(ack->mStatus, 0);
        EXPECT_GE(std::chrono::steady_clock::now() - sent, std::chrono::milliseconds(300));
    }
}

TEST(Faults, ASilentCameraAnswersNothingUntilItSpeaksAgain)
{
    Cameras cameras;
    ControlClient host;
    ASSERT_EQ(host.TakeControl(), 0);
    cameras.GetSilence().Set(true);
    Gige::GvcpBuffer command;
    const std::uint32_t address = Bootstrap::Ccp;
    EXPECT_FALSE(host.Request(command, Gige::EncodeReadRegCommand(host.NextId(), &address, 1, command), 500));
    cameras.GetSilence().Set(false);
    EXPECT_EQ(host.ReadRegister(Bootstrap::Ccp), Bootstrap::CcpControl);
}
