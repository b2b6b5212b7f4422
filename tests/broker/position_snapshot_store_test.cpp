// The shared copy of the client's lists: replacement, copies, and readers during replacement.
#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>

#include "broker/position_snapshot_store.h"

namespace {

PositionRow position(const std::wstring& code, int32_t quantity) {
    PositionRow row;
    row.code = code;
    row.quantity = quantity;
    return row;
}

// Starts each test from an empty store and leaves none behind.
class PositionSnapshotStoreTest : public ::testing::Test {
protected:
    void TearDown() override { PositionSnapshotStore::destroyInstance(); }
    // Entries of the map, the position rows and the order rows, as "map/rows/orders".
    std::string sizes() const {
        return std::to_string(store->copyPositionsByCode().size()) + "/" +
               std::to_string(store->copyPositionRows().size()) + "/" +
               std::to_string(store->copyOrderRows().size());
    }
    PositionSnapshotStore* store = PositionSnapshotStore::instance();
};

}  // namespace

TEST_F(PositionSnapshotStoreTest, ListsAreReplacedSeparatelyAndHandedOutAsCopies) {
    EXPECT_EQ(PositionSnapshotStore::instance(), store);
    EXPECT_EQ(sizes(), "0/0/0");
    store->replacePositions({{L"600036", position(L"600036", 100)}},
                            {position(L"600036", 100), position(L"000001", 300)});
    store->replaceOrders({position(L"600036", 50)});
    EXPECT_EQ(sizes(), "1/2/1");
    PositionRows copy = store->copyOrderRows();
    copy[0].quantity = 999;
    EXPECT_EQ(store->copyOrderRows()[0].quantity, 50);
    store->replaceOrders({});
    EXPECT_EQ(sizes(), "1/2/0");
    store->replaceOrders({position(L"600036", 50)});
    store->replacePositions({}, {});
    EXPECT_EQ(sizes(), "0/0/1");
    store->replacePositions({{L"600036", position(L"600036", 100)}}, {position(L"600036", 100)});
    store->clear();
    EXPECT_EQ(sizes(), "0/0/0");
    store->replaceOrders({position(L"600036", 50)});
    PositionSnapshotStore::destroyInstance();
    store = PositionSnapshotStore::instance();
    EXPECT_EQ(sizes(), "0/0/0");
}

TEST_F(PositionSnapshotStoreTest, ReadersNeverSeeANewMapWithThePreviousRows) {
    // Read n puts quantity n into the map and into each row. A reader that copies the map and
    // then the rows must find rows at least as new as the map, and each container whole.
    std::atomic<bool> done{false};
    std::atomic<int> torn{0};
    std::atomic<long> observations{0};
    auto reader = [&] {
        while (!done.load()) {
            const PositionsByCode map = store->copyPositionsByCode();
            const PositionRows rows = store->copyPositionRows();
            if (map.empty() || rows.empty()) continue;
            const int32_t mapRead = map.begin()->second.quantity;
            bool whole = rows.front().quantity >= mapRead;
            for (const auto& entry : map) whole = whole && entry.second.quantity == mapRead;
            for (const PositionRow& row : rows) whole = whole && row.quantity == rows.front().quantity;
            if (!whole) ++torn;
            ++observations;
        }
    };
    std::thread first(reader);
    std::thread second(reader);
    // On a loaded machine the readers may start only after many writes: keep writing until
    // both have looked a few times.
    for (int n = 1; n <= 20000 || (observations.load() < 100 && n <= 2000000); ++n) {
        PositionRows rows{position(L"600036", n), position(L"000001", n), position(L"600036", n)};
        PositionsByCode byCode{{L"600036", rows[0]}, {L"000001", rows[1]}};
        store->replacePositions(std::move(byCode), std::move(rows));
    }
    done = true;
    first.join();
    second.join();
    EXPECT_EQ(torn.load(), 0);
    EXPECT_GT(observations.load(), 0);
}
