#include "brokerconfig/column_names.h"

#include <gtest/gtest.h>

TEST(ColumnNames, OwnNamesInTheirFixedOrder) {
    const StringList positions = ownPositionColumnNames();
    ASSERT_EQ(positions.size(), 9u);
    EXPECT_EQ(positions.front(), L"证券代码");
    EXPECT_EQ(positions[7], L"盈亏%");
    EXPECT_EQ(positions.back(), L"当前价");
    EXPECT_EQ(ownCommitColumnNames(), (StringList{L"证券代码", L"委托数量", L"买卖标志"}));
}

TEST(ColumnNames, PositionTitlesMapByExactTitle) {
    EXPECT_EQ(mapPositionTitles({L"证券代码", L"证券名称", L"参考盈亏", L"盈亏比例(%)"}),
              (StringList{L"证券代码", L"股票", L"", L"盈亏%"}));
    // Full-width brackets and percent sign are other titles.
    EXPECT_EQ(mapPositionTitles({L"盈亏比例（％）", L"成本价 ", L"成本价"}),
              (StringList{L"", L"", L"成本价"}));
    EXPECT_EQ(mapPositionTitles({L"证券数量", L"可卖数量", L"当前价", L"最新市值", L"浮动盈亏"}),
              (StringList{L"数量", L"可卖数量", L"当前价", L"市值", L"盈亏"}));
    // Two columns with one title both map; the lookup then finds the first.
    EXPECT_EQ(mapPositionTitles({L"证券代码", L"证券代码"}), (StringList{L"证券代码", L"证券代码"}));
}

TEST(ColumnNames, CommitTitlesMapOnlyTheirOwnTable) {
    EXPECT_TRUE(mapCommitTitles({}).empty());
    EXPECT_TRUE(mapPositionTitles({}).empty());
    EXPECT_EQ(mapCommitTitles({L"委托时间", L"证券代码", L"买卖标志", L"委托数量", L"证券名称"}),
              (StringList{L"", L"证券代码", L"买卖标志", L"委托数量", L""}));
    EXPECT_EQ(mapPositionTitles({L"委托数量"}), (StringList{L""}));
}

TEST(ColumnNames, MappedNamesAreFoundByTheLookup) {
    const StringList titles = {L"备注", L"证券名称", L"证券代码", L"当前价"};
    const StringList own = mapPositionTitles(titles);
    EXPECT_EQ(indexOfOwnName(own, L"证券代码"), 2);
    EXPECT_EQ(indexOfOwnName(own, L"股票"), 1);
    EXPECT_EQ(indexOfOwnName(own, L"当前价"), 3);
    EXPECT_EQ(indexOfOwnName(own, L"市值"), -1);
}
