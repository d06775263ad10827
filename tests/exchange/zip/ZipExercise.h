#pragma once
// Everything the reader does with one archive's bytes, for the fuzz test and
// the libFuzzer target: opened with and without a password, every entry
// described and read to memory. Returns false (with what in `failure`) when
// a described name could leave its folder or a result breaks the reader's
// promises; a crash or a read out of bounds is the sanitizers' to catch.
#include <string>

namespace zvtest {

bool ExerciseZipBytes(const std::string& bytes, std::string& failure);

// The archive written into folder and one entry ("new.txt") replaced: a
// replacement that succeeds keeps every other entry under its name, a file
// with its bytes, and adds the new one last; one that fails leaves the
// archive byte for byte as it was.
bool ExerciseZipReplacement(const std::string& bytes, const std::string& folder, std::string& failure);

}  // namespace zvtest
