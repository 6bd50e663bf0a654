// The call index against a standard map, under random inserts, removals and look-ups.
#include <gtest/gtest.h>

#include <deque>
#include <random>
#include <string>
#include <unordered_map>

#include "stations/call_index.h"

namespace plovane {
namespace {

TEST(CallIndex, AgreesWithAStandardMapUnderRandomTraffic) {
    // Few enough calls that runs of neighbouring slots form and wrap around the table.
    std::deque<CStation> records;
    for (int i = 0; i < 400; ++i)
        records.emplace_back("C" + std::to_string(i * 37));
    CallIndex index;
    std::unordered_map<std::string, CStation*> reference;
    std::mt19937 random(7);
    for (int step = 0; step < 200000; ++step) {
        CStation& record = records[random() % records.size()];
        const bool indexed = reference.count(record.call) != 0;
        switch (random() % 3) {
            case 0:
                if (!indexed) {
                    index.Insert(&record);
                    reference[record.call] = &record;
                }
                break;
            case 1:
                ASSERT_EQ(index.Erase(record.call), indexed) << "step " << step;
                reference.erase(record.call);
                break;
            default:
                ASSERT_EQ(index.Find(record.call), indexed ? &record : nullptr) << "step " << step;
                break;
        }
        ASSERT_EQ(index.size(), reference.size());
        if (step % 10000 == 0) {
            for (const CStation& r : records) {
                const auto it = reference.find(r.call);
                ASSERT_EQ(index.Find(r.call), it == reference.end() ? nullptr : it->second);
            }
        }
    }
}

TEST(CallIndex, FindsNothingWhenEmptyAndKeepsEntriesAcrossGrowth) {
    CallIndex index;
    EXPECT_EQ(index.Find("K1ABC"), nullptr);
    EXPECT_FALSE(index.Erase("K1ABC"));
    std::deque<CStation> records;
    for (int i = 0; i < 5000; ++i) {
        records.emplace_back("W" + std::to_string(i));
        index.Insert(&records.back());
    }
    index.Reserve(20000);
    for (const CStation& r : records)
        ASSERT_EQ(index.Find(r.call), &r);
    EXPECT_EQ(index.Find("W5000"), nullptr);
    EXPECT_EQ(index.Find(""), nullptr);
}

}  // namespace
}  // namespace plovane
