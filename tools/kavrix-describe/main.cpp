// kavrix-describe --xml FILE: loads a camera description over a zero-filled
// register memory and prints its feature tree, so a description can be
// checked without the camera.
#include <chrono>
#include <cstring>
#include <exception>
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>

#include <GenApi/GenApi.h>

#include "SparseMemoryPort.h"
#include "TreePrinter.h"

namespace {

int Usage()
{
    std::cerr << "usage: kavrix-describe --xml FILE\n";
    return 2;
}

int DescribeFile(const char* path)
{
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        std::cerr << "kavrix-describe: cannot open " << path << "\n";
        return 1;
    }
    const std::string text((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    GenApi::CNodeMapRef map("Device");
    SparseMemoryPort memory;
    double loadMilliseconds = 0.0;
    try {
        const GenICam::gcstring description(text);
        const auto start = std::chrono::steady_clock::now();
        map._LoadXMLFromString(description);
        loadMilliseconds = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
        // As the driver does: the port named "Device", else "CameraPort".
        if (!map._Connect(&memory, "Device") && !map._Connect(&memory, "CameraPort")) {
            std::cout << "warning: the description has no port \"Device\" or \"CameraPort\"\n";
        }
    } catch (const std::exception& e) {
        std::cerr << "kavrix-describe: " << e.what() << "\n";
        return 1;
    }
    TreePrinter printer(std::cout);
    return printer.Print(map, loadMilliseconds) ? 0 : 1;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 3 || std::strcmp(argv[1], "--xml") != 0) {
        return Usage();
    }
    try {
        return DescribeFile(argv[2]);
    } catch (const std::exception& e) {
        std::cerr << "kavrix-describe: " << e.what() << "\n";
        return 1;
    }
}
