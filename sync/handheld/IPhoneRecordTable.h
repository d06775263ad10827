#pragma once
// The handheld-only columns of the record rows read in one sync, kept from
// the read to the write-back. Each sync has its own table, so nothing read
// in one session reaches the records of a later one.
#include <cstdint>
#include <memory>
#include <unordered_map>
#include <vector>

#include "core/items/UniqueKey.h"

struct CiPhoneRecord {
    int32_t id = 0;
    int32_t hasCustom = 0;
    uint8_t customKey[kUniqueKeySize] = {};
    int32_t flags = 0;
    // Column 22 of the row, kept without being interpreted.
    int32_t kept = 0;
    uint8_t uid[kUniqueKeySize] = {};
};

class CiPhoneRecordTable {
public:
    // Appends a non-empty entry.
    void Add(std::shared_ptr<CiPhoneRecord> entry);
    // The first entry with that record id; empty when there is none.
    std::shared_ptr<CiPhoneRecord> Find(int32_t id) const;
    // Removes every entry with that record id.
    void RemoveById(int32_t id);
    int GetCount() const { return m_count; }
    // The ids that have entries, in increasing order.
    std::vector<int32_t> GetIds() const;

private:
    // Entries of one id in the order they were added.
    std::unordered_map<int32_t, std::vector<std::shared_ptr<CiPhoneRecord>>> m_byId;
    int m_count = 0;
};
