// libFuzzer target: the bytes as a zip archive. Opening with and without a
// password, describing every entry and reading each to memory must end with
// a result code, within the bytes, with every described name inside the
// folder it would be extracted to. Then the archive as a file with one
// entry replaced: every other entry kept under its name with its bytes, or,
// when the replacement fails, the file as it was.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "tests/exchange/zip/ZipExercise.h"

namespace {

const std::string& Folder()
{
    static const std::string folder = [] {
        const std::filesystem::path path =
            std::filesystem::temp_directory_path() / ("zv-zip-fuzz-" + std::to_string(getpid()));
        std::filesystem::create_directories(path);
        return path.string();
    }();
    return folder;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    std::string failure;
    if (!zvtest::ExerciseZipBytes(bytes, failure) || !zvtest::ExerciseZipReplacement(bytes, Folder(), failure)) {
        std::fprintf(stderr, "zip reader: %s\n", failure.c_str());
        std::abort();
    }
    return 0;
}
