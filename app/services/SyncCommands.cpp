#include "app/services/SyncCommands.h"

#include <atomic>

namespace {
std::atomic<ISyncCommands*> g_syncCommands{nullptr};
}  // namespace

ISyncCommands* GetSyncCommands() { return g_syncCommands.load(); }

ISyncCommands* SetSyncCommands(ISyncCommands* commands) { return g_syncCommands.exchange(commands); }
