// A watcher of the image path on the wait thread, for measuring it: told when
// a camera's ProcessEvent begins, just before the image is copied out of its
// grab buffer, and when that copy and the requeue have returned. The driver
// never installs one (nothing outside a program that links the driver's core
// can); while none is installed a delivery pays one atomic load.
#pragma once

#include <atomic>
#include <cstddef>

class DeliveryProbe {
public:
    virtual ~DeliveryProbe() = default;

    virtual void Entered() noexcept = 0;
    // size bytes of grabBuffer, the image the producer just filled, are
    // about to go into imageBuffer.
    virtual void Copying(const unsigned char* grabBuffer, unsigned char* imageBuffer, std::size_t size) noexcept = 0;
    virtual void Copied() noexcept = 0;

    // For every camera; null removes it. The probe must outlive every
    // delivery that may have seen it: remove it after the cameras closed.
    static void Install(DeliveryProbe* probe) { sInstalled.store(probe, std::memory_order_release); }
    static DeliveryProbe* Installed() { return sInstalled.load(std::memory_order_acquire); }

private:
    inline static std::atomic<DeliveryProbe*> sInstalled{nullptr};
};
