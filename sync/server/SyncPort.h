#pragma once
// The port the Wi-Fi sync listens on: 6674, unless ZV_SYNC_PORT (set only by
// tests) names another (1 to 65535; 0 lets the system choose).
inline constexpr int kSyncServerPort = 6674;

int SyncServerPort();
// The value of ZV_SYNC_PORT as text; the default for anything that is not a port.
int ParseSyncPort(const char* text);

// How long a session waits for the handheld's next bytes: 30 s, unless
// ZV_SYNC_RECEIVE_MS (set only by tests) names 100 to 600000 ms.
inline constexpr int kSyncReceiveMs = 30000;
int SyncReceiveTimeoutMs();
int ParseSyncReceiveMs(const char* text);
