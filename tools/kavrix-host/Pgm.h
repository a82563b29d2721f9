// Images as binary PGM (P5) files, which every image viewer opens.
#pragma once

#include <string>
#include <vector>

// False when the file cannot be written.
bool WritePgm(const std::string& path, int width, int height, const std::vector<unsigned char>& pixels);
