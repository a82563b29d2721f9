// Command line of kavrix-host.
#pragma once

#include <string>
#include <vector>

struct HostOptions {
    std::string driverPath;
    std::string systemPath;
    // -1: the driver's debug messages are not shown.
    int logLevel = -1;
    std::string command;
    // The command's own words: camera name, property, value.
    std::vector<std::string> arguments;
    int port = 0;
    int count = 1;
    std::string outFolder;
    // 0 when not given.
    double seconds = 0.0;
};

// False with error set when the command line is not understood.
bool ParseHostOptions(int argc, char** argv, HostOptions& options, std::string& error);

extern const char HostUsage[];
