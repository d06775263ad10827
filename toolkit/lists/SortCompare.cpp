#include "toolkit/lists/SortCompare.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "core/values/DateValue.h"

namespace {
bool IsDigit(char c) { return c >= '0' && c <= '9'; }
}  // namespace

bool IsTimestampText(const char* text)
{
    if (!text || std::strlen(text) != 25) return false;
    static const char kPattern[] = "dddd-dd-dd";
    for (int i = 0; i < 10; ++i) {
        if (kPattern[i] == 'd' ? !IsDigit(text[i]) : text[i] != kPattern[i]) return false;
    }
    return true;
}

int CompareSortCells(const char* first, const char* second, SortTextCompare textCompare)
{
    const char* a = first ? first : "";
    const char* b = second ? second : "";
    if (IsTimestampText(a) && IsTimestampText(b))
        return CompareDateTimes(CDateValue(a, CDateValue::kTimestamp), CDateValue(b, CDateValue::kTimestamp));
    return textCompare(a, b);
}

std::vector<SortHeading> ParseSortHeadings(const CString& headings)
{
    std::vector<SortHeading> result;
    int pos = 0;
    for (;;) {
        const int comma = headings.Find(',', pos);
        if (comma < 0) break;
        SortHeading heading;
        heading.title = headings.Mid(pos, comma - pos);
        int end = headings.Find(';', comma + 1);
        if (end < 0) end = headings.GetLength();
        heading.width = std::atoi((const char*)headings.Mid(comma + 1, end - comma - 1));
        result.push_back(heading);
        pos = end + 1;
        if (pos >= headings.GetLength()) break;
    }
    return result;
}

std::vector<int> ReorderForVisibility(const std::vector<int>& order, const std::vector<bool>& visible, int column,
                                      bool show)
{
    std::vector<int> moved = order;
    const int count = (int)moved.size();
    if (show && column >= 0 && column < count) {
        int visibleCount = 0;
        for (bool v : visible) visibleCount += v ? 1 : 0;
        const int target = std::min(visibleCount - 1, column);
        const auto at = std::find(moved.begin(), moved.end(), column);
        const int present = (int)(at - moved.begin());
        if (target >= 0 && present < count && target < present) {
            moved.erase(moved.begin() + present);
            moved.insert(moved.begin() + target, column);
        }
    }
    std::vector<int> result((size_t)count);
    int front = 0, back = count - 1;
    for (int c : moved) {
        const bool isVisible = c >= 0 && c < (int)visible.size() && visible[(size_t)c];
        if (isVisible)
            result[(size_t)front++] = c;
        else
            result[(size_t)back--] = c;
    }
    return result;
}
