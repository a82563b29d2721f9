// The interfaces the producer offers: every IPv4 address of every adapter
// but loopback, named "<adapter> (<address>/<prefix>)".
#pragma once

#include "common/HostInterface.h"
#include "os/NetworkInterfaces.h"

#include <string>
#include <vector>

namespace Gige {

// only: adapter names; empty for every adapter.
std::vector<HostInterface> SelectInterfaces(const std::vector<Os::NetworkInterface>& system,
                                            const std::vector<std::string>& only);

// The machine's; raises std::system_error when the system cannot list them.
std::vector<HostInterface> MachineInterfaces(const std::vector<std::string>& only);

}
