#include "core/items/NodeValue.h"

// Builds without NetBIOS have no LAN adapters to ask: the node value is drawn.

namespace {

class NoAdapters : public AdapterStatusSource {
public:
    bool EnumerateAdapters(std::vector<uint8_t>& numbers) override
    {
        numbers.clear();
        return false;
    }
    bool ResetAdapter(uint8_t) override { return false; }
    bool QueryAdapterStatus(uint8_t, uint8_t*) override { return false; }
};

}  // namespace

AdapterStatusSource& PlatformAdapterStatusSource()
{
    static NoAdapters source;
    return source;
}
