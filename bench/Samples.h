// The real camera descriptions the node-map benchmarks load.
#ifndef KAVRIX_BENCH_SAMPLES_H
#define KAVRIX_BENCH_SAMPLES_H

#include <cstdlib>
#include <string>

inline const char* const kSamples[] = {"Basler-acA1300-60gm.xml", "FLIR_BFLY_PGE_13H2M.xml",
                                       "Mikrotron_CXP_MC206xS11.xml", "Teledyne_ShadoBox.xml"};

// The samples folder: under KAVRIX_SOURCE_DIR when set, else beside this file.
inline std::string SamplePath(const std::string& file)
{
    if (const char* root = std::getenv("KAVRIX_SOURCE_DIR")) {
        return std::string(root) + "/genapi/tests/samples/" + file;
    }
    std::string here = __FILE__;
    here.erase(here.find_last_of("/\\") + 1);
    return here + "../genapi/tests/samples/" + file;
}

#endif
