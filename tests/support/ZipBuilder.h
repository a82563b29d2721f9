// Builds small zip archives in memory (entries stored or deflated), to feed
// the driver's archive reader with intact and damaged input.
#pragma once

#include <string>
#include <vector>

namespace TestSupport {

struct ZipEntry {
    std::string name;
    std::string content;
    bool deflate = true;
};

std::string BuildZip(const std::vector<ZipEntry>& entries);

}
