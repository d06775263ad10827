// libFuzzer target: the bytes as one of the program's XML files. Parsing
// must end within the bytes; a document that parses is written out, and what
// is written must parse again to the same bytes, and cut around a top-level
// element's children must give those bytes back piece by piece.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "app/xml/XmlDocument.h"

namespace {

void Fail(const char* what, int line)
{
    std::fprintf(stderr, "%s:%d: expected %s\n", __FILE__, line, what);
    std::abort();
}
#define CHECK(condition) ((condition) ? (void)0 : Fail(#condition, __LINE__))

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    CXmlDocument document;
    if (!document.LoadBytes(std::string(reinterpret_cast<const char*>(data), size))) {
        CHECK(document.GetDocumentNode()->GetChildren().empty());
        return 0;
    }
    const std::string saved = document.SaveBytes();
    CXmlDocument again;
    CHECK(again.LoadBytes(saved));
    CHECK(again.SaveBytes() == saved);
    for (const CXmlNodePtr& node : document.GetDocumentNode()->GetChildren()) {
        std::string head, tail;
        if (!document.SaveBytesAround(*node, head, tail)) continue;
        std::string whole = head;
        for (const CXmlNodePtr& child : node->GetChildren()) AppendXmlBytes(whole, *child);
        CHECK(whole + tail == saved);
    }
    return 0;
}
