#pragma once
// A stable merge sort that stays in bounds and terminates whatever the
// comparison answers. The cell comparison mixes dates, versions, numbers and
// text and so is not a strict weak order, which std::sort requires (it may
// run past the range otherwise). Each element is compared only through
// less(x, y); with an inconsistent comparison the result is some permutation
// of the input, with a consistent one it is sorted.
#include <iterator>
#include <utility>
#include <vector>

template <typename RandomIt, typename Less> void StableSortTolerant(RandomIt first, RandomIt last, Less less)
{
    using Value = typename std::iterator_traits<RandomIt>::value_type;
    const size_t n = static_cast<size_t>(last - first);
    if (n < 2) return;
    std::vector<Value> buffer;
    buffer.reserve(n);
    for (size_t width = 1; width < n; width *= 2) {
        for (size_t lo = 0; lo + width < n; lo += 2 * width) {
            const size_t mid = lo + width;
            const size_t hi = mid + width < n ? mid + width : n;
            buffer.clear();
            size_t i = lo, j = mid;
            while (i < mid && j < hi) {
                // Take from the right run only when it is strictly less:
                // equal elements keep their order.
                if (less(first[j], first[i]))
                    buffer.push_back(std::move(first[j++]));
                else
                    buffer.push_back(std::move(first[i++]));
            }
            while (i < mid) buffer.push_back(std::move(first[i++]));
            while (j < hi) buffer.push_back(std::move(first[j++]));
            for (size_t k = 0; k < buffer.size(); ++k) first[lo + k] = std::move(buffer[k]);
        }
    }
}
