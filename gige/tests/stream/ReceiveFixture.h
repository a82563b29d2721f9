// A stream on the lab's left adapter, started with buffers announced and
// queued and the event registered, and the test camera aimed at it; once
// for each receive path (the packet ring where the process may, the UDP
// socket everywhere).
#pragma once

#include "StreamLab.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace StreamLab {

enum class Path { Ring, Udp };

std::string PathName(const testing::TestParamInfo<Path>& info);

class ReceiveFixture : public testing::TestWithParam<Path> {
protected:
    static constexpr std::uint64_t NoLimit = ~std::uint64_t{0};

    void SetUp() override;
    Gige::StreamOptions Options() const;
    // Announces count buffers of size bytes, queues them unless told not
    // to, registers the event and starts; then aims the camera.
    void Start(std::size_t count, std::size_t size, bool queue = true, std::uint64_t frames = NoLimit);
    std::size_t IndexOf(BUFFER_HANDLE buffer) const;
    // The buffer holds the image, and past it is untouched.
    void ExpectImage(BUFFER_HANDLE buffer, const Bytes& image) const;

    FakeHost mHost;
    Gige::StreamOptions mOptions;
    Os::Event mEvent{Os::Event::Mode::ManualReset};
    std::vector<std::unique_ptr<std::uint8_t[]>> mMemory;
    std::vector<std::size_t> mSizes;
    std::vector<BUFFER_HANDLE> mBuffers;
    // Made after the memory, so it ends before the memory goes.
    std::unique_ptr<Gige::Stream> mStream;
    TestCamera mCamera;
};

}
