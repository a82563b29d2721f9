// Puts the simulated producer into a known state for one test and back to
// its configured default afterwards.
#pragma once

#include "TLIControl.h"

#include <string>
#include <vector>

namespace TestSupport {

class ProducerState {
public:
    ProducerState();
    ~ProducerState();
    ProducerState(const ProducerState&) = delete;
    ProducerState& operator=(const ProducerState&) = delete;

    // Replaces every interface with the given ones; each holds the named
    // devices, all of the first camera model.
    struct InterfaceSpec {
        std::string name;
        std::vector<std::string> devices;
    };
    static void Use(const std::vector<InterfaceSpec>& interfaces);
    static std::vector<std::string> InterfaceNames();
};

}
