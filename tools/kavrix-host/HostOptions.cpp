#include "HostOptions.h"

#include <cstdlib>

const char HostUsage[] =
    "usage: kavrix-host [options] COMMAND [ARGUMENTS]\n"
    "\n"
    "Loads the Kavrix driver like the inspection host does (by path, every\n"
    "export resolved by name) and drives it.\n"
    "\n"
    "options:\n"
    "  --driver PATH       the driver library (default: Kavrix.dll / libkavrix.so\n"
    "                      beside kavrix-host)\n"
    "  --system-path DIR   the host's system path: folder of Kavrix.ini and\n"
    "                      kavrix.log (default: a kavrix-host folder in the\n"
    "                      temporary folder)\n"
    "  --log LEVEL         print the driver's debug messages to standard error;\n"
    "                      LEVEL (0 to 4) is stored as LogLevel in the General\n"
    "                      section of Kavrix.ini, which the driver takes over when\n"
    "                      a camera is opened (until then it logs up to level 3)\n"
    "  --help              this text\n"
    "\n"
    "commands:\n"
    "  list                initialize, print the number and names of the cameras,\n"
    "                      finalize\n";

bool ParseHostOptions(int argc, char** argv, HostOptions& options, std::string& error)
{
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        auto value = [&](const char* option) -> const char* {
            if (i + 1 >= argc) {
                error = std::string(option) + " needs a value";
                return nullptr;
            }
            return argv[++i];
        };
        if (argument == "--help" || argument == "-h") {
            options.command = "help";
            return true;
        }
        if (argument == "--driver") {
            const char* v = value("--driver");
            if (v == nullptr) {
                return false;
            }
            options.driverPath = v;
        } else if (argument == "--system-path") {
            const char* v = value("--system-path");
            if (v == nullptr) {
                return false;
            }
            options.systemPath = v;
        } else if (argument == "--log") {
            const char* v = value("--log");
            if (v == nullptr) {
                return false;
            }
            char* end = nullptr;
            const long level = std::strtol(v, &end, 10);
            if (*v == '\0' || *end != '\0' || level < 0 || level > 4) {
                error = "--log takes a level from 0 to 4";
                return false;
            }
            options.logLevel = static_cast<int>(level);
        } else if (!argument.empty() && argument[0] == '-' && options.command.empty()) {
            error = "unknown option " + argument;
            return false;
        } else if (options.command.empty()) {
            options.command = argument;
        } else {
            options.arguments.push_back(argument);
        }
    }
    if (options.command.empty()) {
        error = "no command given";
        return false;
    }
    return true;
}
