#pragma once
// Reading a whole profile list ("a\0b\0\0": the section names of a file, or
// a section's "key=value" lines) whatever its size, up to a cap. The
// system's profile functions answer size - 2 when the list did not fit, so
// the buffer grows until it does; a list that does not fit the cap is an
// error, never a list silently cut (a cut section written back elsewhere
// would lose the rest of its keys).
#include <cstdint>
#include <string>
#include <vector>

namespace zvini {

// The system's "file too large" code.
const int kProfileListTooLarge = 223;

// read(buffer, size) answers as the system's profile list functions: the
// characters copied, without the list's last terminating zero; size - 2 when
// the list did not fit. 0 with the list in out, or kProfileListTooLarge
// with out empty.
template <typename ReadFn> int ReadWholeList(ReadFn read, uint32_t cap, std::string& out)
{
    out.clear();
    if (cap < 4) return kProfileListTooLarge;
    uint32_t size = cap < 4096 ? cap : 4096;
    for (;;) {
        std::vector<char> buffer(size, 0);
        uint32_t n = read(buffer.data(), size);
        if (n < size - 2) {
            out.assign(buffer.data(), n);
            return 0;
        }
        if (size >= cap) return kProfileListTooLarge;
        size = size > cap / 2 ? cap : size * 2;
    }
}

}  // namespace zvini
