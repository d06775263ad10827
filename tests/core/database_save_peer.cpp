// The other process of the database save tests: loads and saves one database
// file in a loop and checks every load.
//   database_save_peer <file> <rounds> <tag>
// Every load must succeed and find the file whole: exactly the records the
// test wrote, each with its marker field. Each round writes the tag and the
// round into one record of its own. Exit code 0 when every round went well,
// else the round (from 1) that failed.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "core/store/DatabaseObj.h"
#include "core/items/Record.h"

int main(int argc, char** argv)
{
    if (argc != 4) return 1000;
    const CString path(argv[1]);
    const int rounds = std::atoi(argv[2]);
    const int tag = std::atoi(argv[3]);
    for (int round = 1; round <= rounds; ++round) {
        CDatabaseObj db;
        if (db.Load(path, nullptr) != 0) {
            std::fprintf(stderr, "peer %d: load failed in round %d\n", tag, round);
            return round;
        }
        if (db.GetRecords().GetCount() != 40) {
            std::fprintf(stderr, "peer %d: %d records in round %d\n", tag, (int)db.GetRecords().GetCount(), round);
            return round;
        }
        int index = 0;
        for (POSITION pos = db.GetRecords().GetHeadPosition(); pos; ++index) {
            CBaseItem* item = static_cast<CBaseItem*>(db.GetRecords().GetNext(pos));
            if (item->GetField(0) != "marker") {
                std::fprintf(stderr, "peer %d: record %d damaged in round %d\n", tag, index, round);
                return round;
            }
            if (index == tag) {
                CString text;
                text.Format("peer %d round %d", tag, round);
                item->SetField(1, text);
            }
        }
        if (int result = db.Save(0, nullptr)) {
            std::fprintf(stderr, "peer %d: save failed (%d) in round %d\n", tag, result, round);
            return round;
        }
    }
    return 0;
}
