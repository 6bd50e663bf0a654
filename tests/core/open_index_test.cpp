// SPDX-License-Identifier: GPL-3.0-or-later
// The open-addressing index against a standard map, under random inserts, removals and
// look-ups.
#include <gtest/gtest.h>

#include <deque>
#include <random>
#include <string>
#include <unordered_map>
#include <vector>

#include "core/open_index.h"

namespace plovane {
namespace {

struct Record {
    std::string call;
};

TEST(OpenIndex, AgreesWithAStandardMapUnderRandomTraffic) {
    // Few enough calls that runs of neighbouring slots form and wrap around the table.
    std::deque<Record> records;
    for (int i = 0; i < 400; ++i)
        records.push_back({"C" + std::to_string(i * 37)});
    OpenIndex<Record> index;
    const auto find = [&](const std::string& call) {
        return index.Find(HashText(call), [&](const Record& r) { return r.call == call; });
    };
    std::unordered_map<std::string, Record*> reference;
    std::mt19937 random(7);
    for (int step = 0; step < 200000; ++step) {
        Record& record = records[random() % records.size()];
        const bool indexed = reference.count(record.call) != 0;
        switch (random() % 3) {
            case 0:
                if (!indexed) {
                    index.Insert(&record, HashText(record.call));
                    reference[record.call] = &record;
                }
                break;
            case 1:
                ASSERT_EQ(index.Erase(&record, HashText(record.call)), indexed) << "step " << step;
                reference.erase(record.call);
                break;
            default:
                ASSERT_EQ(find(record.call), indexed ? &record : nullptr) << "step " << step;
                break;
        }
        ASSERT_EQ(index.size(), reference.size());
        if (step % 10000 == 0) {
            for (const Record& r : records) {
                const auto it = reference.find(r.call);
                ASSERT_EQ(find(r.call), it == reference.end() ? nullptr : it->second);
            }
        }
    }
}

}  // namespace
}  // namespace plovane
