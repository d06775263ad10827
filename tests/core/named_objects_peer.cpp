// The other process of the named-object tests, standing in for the browser
// plug-in's side:
//   named_objects_peer echo <section> <event>
//     waits on the event, reads the record from the section, checks that it
//     holds the test's pattern, writes the reply pattern back; exit code 0
//     when the record was right, 2 when not.
//   named_objects_peer write <section>
//     writes the reply pattern into the section at once; exit code 0.
#include <cstring>

#include "core/link/NamedEvent.h"
#include "core/link/SharedMemory.h"
#include "tests/core/NamedObjectsPattern.h"

int main(int argc, char** argv)
{
    if (argc == 4 && std::strcmp(argv[1], "echo") == 0) {
        CSharedMemory section(argv[2]);
        CNamedEvent event(argv[3]);
        if (!section.IsValid() || !event.IsValid()) return 3;
        event.Wait();
        unsigned char record[CSharedMemory::kSize];
        section.Read(record);
        bool right = zvtest::HoldsPattern(record, zvtest::kRequestSeed);
        zvtest::FillPattern(record, zvtest::kReplySeed);
        section.Write(record);
        return right ? 0 : 2;
    }
    if (argc == 3 && std::strcmp(argv[1], "write") == 0) {
        CSharedMemory section(argv[2]);
        if (!section.IsValid()) return 3;
        unsigned char record[CSharedMemory::kSize];
        zvtest::FillPattern(record, zvtest::kReplySeed);
        section.Write(record);
        return 0;
    }
    return 1;
}
