// Every export runs its work behind a barrier of two handlers: one for the
// standard exception family (logged with the exception's text) and one for
// anything else (a fixed message). Nothing reaches the host.
#pragma once

#include <exception>

template <typename Result, typename Body, typename OnStandard, typename OnOther>
Result RunBehindBarrier(Result failure, Body&& body, OnStandard&& onStandard, OnOther&& onOther) noexcept
{
    try {
        return body();
    } catch (const std::exception& e) {
        try {
            onStandard(e.what());
        } catch (...) {
        }
    } catch (...) {
        try {
            onOther();
        } catch (...) {
        }
    }
    return failure;
}
