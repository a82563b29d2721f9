#include "HostOptions.h"

#include <cerrno>
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
    "  --port N            the port the camera is opened on (default 0)\n"
    "  --help              this text\n"
    "\n"
    "commands:\n"
    "  list                          the number and names of the cameras\n"
    "  open CAMERA                   open the camera with its stored settings, print\n"
    "                                the image size, close it\n"
    "  grab CAMERA [--count N] [--out DIR]\n"
    "                                N single grabs (default 1), each image read row\n"
    "                                by row in the completion callback and written to\n"
    "                                DIR (default: the current folder) as a binary PGM\n"
    "                                file port<P>-frame<NNNN>.pgm\n"
    "  continuous CAMERA --seconds S grab continuously for S seconds; prints the\n"
    "                                images, the driver's dropped count and the images\n"
    "                                per second once a second\n"
    "  get CAMERA PROPERTY           a property's value\n"
    "  set CAMERA PROPERTY VALUE     write a property to the camera (not stored)\n"
    "  range CAMERA PROPERTY         a property's minimum and maximum\n"
    "  stats CAMERA                  the camera's statistics\n"
    "\n"
    "exit status: 0 done, 1 a driver call failed, 2 bad command line, 3 the\n"
    "driver cannot be loaded, 4 an image did not arrive in time\n";

namespace {

bool ParseInt(const char* text, long minimum, long maximum, int& value)
{
    char* end = nullptr;
    errno = 0;
    const long parsed = std::strtol(text, &end, 10);
    if (*text == '\0' || *end != '\0' || errno != 0 || parsed < minimum || parsed > maximum) {
        return false;
    }
    value = static_cast<int>(parsed);
    return true;
}

}

bool ParseHostOptions(int argc, char** argv, HostOptions& options, std::string& error)
{
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        const char* value = i + 1 < argc ? argv[i + 1] : nullptr;
        const auto needs = [&](const char* what) {
            error = argument + " takes " + what;
            return false;
        };
        if (argument == "--help" || argument == "-h") {
            options.command = "help";
            return true;
        }
        if (argument.rfind("--", 0) != 0) {
            (options.command.empty() ? options.command : options.arguments.emplace_back()) = argument;
            continue;
        }
        if (value == nullptr) {
            return needs("a value");
        }
        ++i;
        if (argument == "--driver") {
            options.driverPath = value;
        } else if (argument == "--system-path") {
            options.systemPath = value;
        } else if (argument == "--log") {
            if (!ParseInt(value, 0, 4, options.logLevel)) {
                return needs("a level from 0 to 4");
            }
        } else if (argument == "--port") {
            if (!ParseInt(value, -2147483647L - 1, 2147483647L, options.port)) {
                return needs("a port number");
            }
        } else if (argument == "--count") {
            if (!ParseInt(value, 1, 1000000, options.count)) {
                return needs("a count from 1 to 1000000");
            }
        } else if (argument == "--out") {
            options.outFolder = value;
        } else if (argument == "--seconds") {
            char* end = nullptr;
            options.seconds = std::strtod(value, &end);
            if (*value == '\0' || *end != '\0' || !(options.seconds > 0.0 && options.seconds <= 86400.0)) {
                return needs("a number of seconds above 0");
            }
        } else {
            error = "unknown option " + argument;
            return false;
        }
    }
    if (options.command.empty()) {
        error = "no command given";
        return false;
    }
    return true;
}
