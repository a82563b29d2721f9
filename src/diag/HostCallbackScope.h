// Marks the calling thread as being inside a host callback for as long as the
// object lives. The driver puts one around every call of a host callback (the
// debug callback, an image's completion callback), so that an export the host
// calls from inside such a callback can tell, and refuse what must not happen
// there (initialize and finalize would change the driver under the code that
// called the host).
#pragma once

class HostCallbackScope {
public:
    enum class Kind { Debug, Completion };

    explicit HostCallbackScope(Kind kind) noexcept;
    ~HostCallbackScope();
    HostCallbackScope(const HostCallbackScope&) = delete;
    HostCallbackScope& operator=(const HostCallbackScope&) = delete;

    // True while the calling thread is inside at least one host callback (of
    // that kind); other threads are not affected.
    static bool IsActive() noexcept;
    static bool IsActive(Kind kind) noexcept;

private:
    Kind mKind;
};
