#include "Pgm.h"

#include <fstream>

bool WritePgm(const std::string& path, int width, int height, const std::vector<unsigned char>& pixels)
{
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file << "P5\n" << width << " " << height << "\n255\n";
    file.write(reinterpret_cast<const char*>(pixels.data()), static_cast<std::streamsize>(pixels.size()));
    file.close();
    return !file.fail();
}
