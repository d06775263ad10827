#include <windows.h>
#include <nb30.h>

#include <cstring>

#include "core/items/NodeValue.h"

// The LAN adapters as NetBIOS reports them. Wine may answer with no adapters
// or fail outright; the node value then falls back to a random draw.

namespace {

class NetbiosAdapters : public AdapterStatusSource {
public:
    bool EnumerateAdapters(std::vector<uint8_t>& numbers) override
    {
        numbers.clear();
        LANA_ENUM lanas;
        std::memset(&lanas, 0, sizeof lanas);
        NCB ncb;
        std::memset(&ncb, 0, sizeof ncb);
        ncb.ncb_command = NCBENUM;
        ncb.ncb_buffer = reinterpret_cast<PUCHAR>(&lanas);
        ncb.ncb_length = sizeof lanas;
        if (Netbios(&ncb) != NRC_GOODRET) return false;
        unsigned count = lanas.length;
        if (count > MAX_LANA + 1) count = MAX_LANA + 1;
        numbers.assign(lanas.lana, lanas.lana + count);
        return true;
    }

    bool ResetAdapter(uint8_t number) override
    {
        NCB ncb;
        std::memset(&ncb, 0, sizeof ncb);
        ncb.ncb_command = NCBRESET;
        ncb.ncb_lana_num = number;
        return Netbios(&ncb) == NRC_GOODRET;
    }

    bool QueryAdapterStatus(uint8_t number, uint8_t status[kAdapterStatusSize]) override
    {
        NCB ncb;
        std::memset(&ncb, 0, sizeof ncb);
        ncb.ncb_command = NCBASTAT;
        ncb.ncb_lana_num = number;
        std::memset(ncb.ncb_callname, ' ', NCBNAMSZ);
        ncb.ncb_callname[0] = '*';
        ncb.ncb_buffer = status;
        ncb.ncb_length = WORD(kAdapterStatusSize);
        return Netbios(&ncb) == NRC_GOODRET;
    }
};

}  // namespace

AdapterStatusSource& PlatformAdapterStatusSource()
{
    static NetbiosAdapters source;
    return source;
}
