// The configuration dialog of a simulated camera on screen, for screenshots:
//     dialog-demo CAMERA [invalid]
// selects a row (after an invalid width with "invalid"), prints "ready LEFT
// TOP RIGHT BOTTOM" with the dialog's screen rectangle, and stays up until
// it is ended.
#include "DialogRobot.h"

#include "support/LoadedDriver.h"
#include "support/TestSupport.h"

#include <cstdio>
#include <cstring>
#include <thread>

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: dialog-demo CAMERA [invalid]\n");
        return 2;
    }
    const std::string camera = argv[1];
    const bool invalid = argc > 2 && std::strcmp(argv[2], "invalid") == 0;
    TestSupport::TempFolder folder;
    TestSupport::LoadedDriver driver;
    int size[2] = {};
    // Opened once, so that the dialog shows the camera's own parameters.
    if (driver->initialize(folder.Path().c_str(), nullptr) != 1 || driver->openCVLPort(0, 0, camera.c_str(), size) != 1) {
        return 1;
    }
    driver->closeCVLPort(0, 0);
    std::thread person([&] {
        const HWND sheet = DialogRobot::WaitForWindow("Configure camera on port #0: " + camera);
        if (sheet == nullptr) {
            std::fprintf(stderr, "dialog-demo: no dialog\n");
            return;
        }
        DialogRobot robot(sheet);
        if (invalid) {
            robot.SelectRow("Width");
            robot.Type("801");
        }
        robot.SelectRow("Gamma");
        RECT rect{};
        GetWindowRect(sheet, &rect);
        std::printf("ready %ld %ld %ld %ld\n", rect.left, rect.top, rect.right, rect.bottom);
        std::fflush(stdout);
    });
    driver->configureCamera(0, camera.c_str());
    person.join();
    driver->finalize();
    return 0;
}
