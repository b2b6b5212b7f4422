// The shared copy of the client's lists: copies, replacement, and readers during replacement.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "broker/position_snapshot_store.h"

namespace {

PositionRow position(const std::wstring& code, int32_t quantity) {
    PositionRow row;
    row.code = code;
    row.name = L"股票" + code;
    row.quantity = quantity;
    row.sellableQuantity = quantity;
    row.currentPrice = 10.5f;
    return row;
}

// Starts each test from an empty store and leaves none behind.
class PositionSnapshotStoreTest : public ::testing::Test {
protected:
    void SetUp() override { store = PositionSnapshotStore::instance(); }
    void TearDown() override { PositionSnapshotStore::destroyInstance(); }
    PositionSnapshotStore* store = nullptr;
};

}  // namespace

TEST_F(PositionSnapshotStoreTest, EmptyBeforeTheFirstRead) {
    EXPECT_EQ(PositionSnapshotStore::instance(), store);
    EXPECT_TRUE(store->copyPositionRows().empty());
    EXPECT_TRUE(store->copyOrderRows().empty());
    EXPECT_TRUE(store->copyPositionsByCode().empty());
}

TEST_F(PositionSnapshotStoreTest, DuplicateCodesStayInTheListAndTheMapKeepsItsRow) {
    const PositionRows rows{position(L"600036", 100), position(L"000001", 300), position(L"600036", 200)};
    PositionsByCode byCode;
    for (const PositionRow& row : rows) byCode.emplace(row.code, row);
    store->replacePositions(byCode, rows);

    const PositionRows copied = store->copyPositionRows();
    ASSERT_EQ(copied.size(), 3u);
    EXPECT_EQ(copied[2].quantity, 200);
    const PositionsByCode map = store->copyPositionsByCode();
    ASSERT_EQ(map.size(), 2u);
    EXPECT_EQ(map.at(L"600036").quantity, 100);
    EXPECT_EQ(map.at(L"600036").name, L"股票600036");
}

TEST_F(PositionSnapshotStoreTest, CopiesAreIndependentOfTheStore) {
    store->replaceOrders({position(L"600036", 100)});
    PositionRows copy = store->copyOrderRows();
    copy[0].quantity = 999;
    copy.push_back(position(L"1", 1));
    ASSERT_EQ(store->copyOrderRows().size(), 1u);
    EXPECT_EQ(store->copyOrderRows()[0].quantity, 100);
}

TEST_F(PositionSnapshotStoreTest, OrdersAndPositionsAreReplacedSeparately) {
    store->replacePositions({{L"600036", position(L"600036", 100)}}, {position(L"600036", 100)});
    store->replaceOrders({position(L"600036", 50), position(L"000001", 20)});
    store->replaceOrders({});
    EXPECT_TRUE(store->copyOrderRows().empty());
    EXPECT_EQ(store->copyPositionRows().size(), 1u);
    EXPECT_EQ(store->copyPositionsByCode().size(), 1u);

    store->replaceOrders({position(L"600036", 50)});
    store->replacePositions({}, {});
    EXPECT_TRUE(store->copyPositionRows().empty());
    EXPECT_TRUE(store->copyPositionsByCode().empty());
    EXPECT_EQ(store->copyOrderRows().size(), 1u);
}

TEST_F(PositionSnapshotStoreTest, ClearEmptiesAllThree) {
    store->replacePositions({{L"600036", position(L"600036", 100)}}, {position(L"600036", 100)});
    store->replaceOrders({position(L"600036", 50)});
    store->clear();
    EXPECT_TRUE(store->copyPositionRows().empty());
    EXPECT_TRUE(store->copyOrderRows().empty());
    EXPECT_TRUE(store->copyPositionsByCode().empty());
}

TEST_F(PositionSnapshotStoreTest, DestroyedStoreComesBackEmpty) {
    store->replaceOrders({position(L"600036", 50)});
    PositionSnapshotStore::destroyInstance();
    store = PositionSnapshotStore::instance();
    EXPECT_TRUE(store->copyOrderRows().empty());
}

TEST_F(PositionSnapshotStoreTest, ReadersNeverSeeANewMapWithThePreviousRows) {
    // Every read n puts quantity n into the map and into each row. A reader that copies the map
    // and then the rows must find rows at least as new as the map, and each container whole.
    constexpr int kReads = 20000;
    std::atomic<bool> done{false};
    std::atomic<int> torn{0};
    std::atomic<int> mixed{0};
    std::atomic<long> observations{0};
    auto reader = [&] {
        while (!done.load()) {
            const PositionsByCode map = store->copyPositionsByCode();
            const PositionRows rows = store->copyPositionRows();
            if (map.empty() || rows.empty()) continue;
            const int32_t mapRead = map.begin()->second.quantity;
            for (const auto& entry : map)
                if (entry.second.quantity != mapRead) ++mixed;
            for (const PositionRow& row : rows)
                if (row.quantity != rows.front().quantity) ++mixed;
            if (rows.front().quantity < mapRead) ++torn;
            ++observations;
        }
    };
    std::thread first(reader);
    std::thread second(reader);
    for (int n = 1; n <= kReads; ++n) {
        PositionRows rows{position(L"600036", n), position(L"000001", n), position(L"600036", n)};
        PositionsByCode byCode{{L"600036", rows[0]}, {L"000001", rows[1]}};
        store->replacePositions(std::move(byCode), std::move(rows));
    }
    done = true;
    first.join();
    second.join();
    EXPECT_EQ(torn.load(), 0);
    EXPECT_EQ(mixed.load(), 0);
    EXPECT_GT(observations.load(), 0);
}
