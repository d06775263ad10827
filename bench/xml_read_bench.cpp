// Reads XML documents of N pieces and prints the time per document: text
// split by CDATA sections (one text node in the end), and N sibling
// elements. Reading should grow with the file's size, not faster.
//   xml_read_bench [N ...]        (default: 10000 100000 1000000)
// Figures mean something only in a build without sanitizers (see
// database_bench.cpp).
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/xml/XmlDocument.h"

using Clock = std::chrono::steady_clock;

int main(int argc, char** argv)
{
    std::vector<int> counts;
    for (int i = 1; i < argc; ++i) counts.push_back(std::atoi(argv[i]));
    if (counts.empty()) counts = {10000, 100000, 1000000};
    for (int n : counts) {
        const char* const shapes[] = {"x<![CDATA[y]]>", "<e>x</e>"};
        for (const char* piece : shapes) {
            std::string bytes = "<a>";
            for (int i = 0; i < n; ++i) bytes += piece;
            bytes += "</a>";
            const Clock::time_point start = Clock::now();
            CXmlDocument doc;
            const bool ok = doc.LoadBytes(bytes);
            const double ms = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
            std::printf("%8d x %-16s %9llu bytes: %9.1f ms%s\n", n, piece, (unsigned long long)bytes.size(), ms,
                        ok ? "" : " (refused)");
        }
    }
    return 0;
}
