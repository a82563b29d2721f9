// kavrix-describe --xml FILE: loads a camera description over a zero-filled
// register memory and prints its feature tree, so a description can be
// checked without the camera.
// kavrix-describe CAMERA: opens the camera of that name through the producer,
// as the driver does, and prints the tree over the camera's live registers.
#include <chrono>
#include <cstring>
#include <exception>
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>
#include <utility>

#include <GenApi/GenApi.h>

#include "LiveCamera.h"
#include "SparseMemoryPort.h"
#include "TreePrinter.h"

namespace {

int Usage()
{
    std::cerr << "usage: kavrix-describe --xml FILE\n"
                 "       kavrix-describe CAMERA\n";
    return 2;
}

int DescribeFile(const char* path)
{
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        std::cerr << "kavrix-describe: cannot open " << path << "\n";
        return 1;
    }
    std::string text((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    GenApi::CNodeMapRef map("Device");
    SparseMemoryPort memory;
    double loadMilliseconds = 0.0;
    try {
        GenICam::gcstring description(std::move(text));
        const auto start = std::chrono::steady_clock::now();
        map._LoadXMLFromString(std::move(description));
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

int DescribeCamera(const char* name)
{
    LiveCamera camera(name);
    GenApi::CNodeMapRef map("Device");
    const double loadMilliseconds = camera.LoadInto(map);
    TreePrinter printer(std::cout);
    return printer.Print(map, loadMilliseconds) ? 0 : 1;
}

} // namespace

int main(int argc, char** argv)
{
    const bool file = argc == 3 && std::strcmp(argv[1], "--xml") == 0;
    const bool camera = argc == 2 && argv[1][0] != '-';
    if (!file && !camera) {
        return Usage();
    }
    try {
        return file ? DescribeFile(argv[2]) : DescribeCamera(argv[1]);
    } catch (const std::exception& e) {
        std::cerr << "kavrix-describe: " << e.what() << "\n";
        return 1;
    }
}
