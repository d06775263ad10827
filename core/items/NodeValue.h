#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

// The node value: the first two bytes of every unique key, which make keys of
// different machines differ. It is a CRC of a LAN adapter's NetBIOS status.

constexpr size_t kAdapterStatusSize = 600;

// The NetBIOS view of the LAN adapters. The windows build asks NetBIOS; the
// host build has no adapters, so it always takes the random fallback.
class AdapterStatusSource {
public:
    virtual ~AdapterStatusSource() = default;
    // The LAN adapter numbers in NetBIOS order; false when NetBIOS failed.
    virtual bool EnumerateAdapters(std::vector<uint8_t>& numbers) = 0;
    virtual bool ResetAdapter(uint8_t number) = 0;
    // Fills the 600-byte adapter-status answer for the call name "*".
    virtual bool QueryAdapterStatus(uint8_t number, uint8_t status[kAdapterStatusSize]) = 0;
};

// This build's NetBIOS (defined in a platform file).
AdapterStatusSource& PlatformAdapterStatusSource();

// CRC-16, polynomial 0x1021 MSB first, initial value 0x0DE5, no final XOR,
// over exactly 600 bytes.
uint16_t AdapterStatusCrc(const uint8_t status[kAdapterStatusSize]);

// The first non-zero adapter-status CRC of the adapters that answer; when none
// does, NextRandom() % 65535 (which may be 0: the caller then asks again).
uint16_t ComputeNodeValue(AdapterStatusSource& source);
uint16_t ComputeNodeValue();
