// libFuzzer target: the bytes as a zip archive in memory. Opening with and
// without a password, describing every entry and reading each to memory
// must end with a result code, within the bytes, with every described name
// inside the folder it would be extracted to.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "tests/exchange/zip/ZipExercise.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::string failure;
    if (!zvtest::ExerciseZipBytes(std::string(reinterpret_cast<const char*>(data), size), failure)) {
        std::fprintf(stderr, "zip reader: %s\n", failure.c_str());
        std::abort();
    }
    return 0;
}
