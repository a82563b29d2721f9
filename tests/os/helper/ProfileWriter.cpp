// profile_writer PATH SECTION KEY LENGTH: writes a value of LENGTH characters
// under the key, as the driver saves a setting; exit code 0 when the write
// succeeded, 3 when it reported failure. The profile tests run it under a
// file size limit to see a write fail or die part-way.
#include "os/Profile.h"

#include <cstdlib>
#include <string>

int main(int argc, char** argv)
{
    if (argc != 5) {
        return 2;
    }
    const std::string value(std::strtoul(argv[4], nullptr, 10), 'v');
    return Os::WriteProfileString(argv[2], argv[3], value, argv[1]) ? 0 : 3;
}
