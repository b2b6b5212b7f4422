#include "brokerconfig/broker_config.h"

#include <gtest/gtest.h>

namespace {

std::vector<ButtonPosition> threeButtons() {
    return {{L"买入按钮", 10, 20}, {L"卖出按钮", 30, 40}, {L"撤单按钮", 50, 60}};
}

}  // namespace

TEST(BrokerConfig, ButtonPositionIsReadBySlotAndMissingSlotsAreEmpty) {
    BrokerConfig config(L"招商", L"网上股票交易系统");
    EXPECT_FALSE(config.buttonPosition(ButtonSlot::Buy).has_value());

    config.setButtonPositions(threeButtons());
    ASSERT_TRUE(config.buttonPosition(ButtonSlot::Cancel).has_value());
    EXPECT_EQ(*config.buttonPosition(ButtonSlot::Cancel), (ButtonPosition{L"撤单按钮", 50, 60}));
    EXPECT_EQ(config.buttonPosition(ButtonSlot::Sell)->x, 30);
    EXPECT_FALSE(config.buttonPosition(ButtonSlot::CancelSecond).has_value());
    EXPECT_FALSE(config.buttonPosition(ButtonSlot::Positions).has_value());
    EXPECT_FALSE(config.buttonPosition(static_cast<ButtonSlot>(-1)).has_value());
    EXPECT_FALSE(config.buttonPosition(static_cast<ButtonSlot>(1000)).has_value());
}

TEST(BrokerConfig, ColumnPairsStayTheSameLength) {
    BrokerConfig config(L"a", L"b");
    config.setPositionColumns({L"证券代码", L"证券名称", L"备注"}, {L"证券代码"});
    EXPECT_EQ(config.positionColumnTitlesCopy(), (StringList{L"证券代码", L"证券名称", L"备注"}));
    EXPECT_EQ(config.positionColumnOwnNamesCopy(), (StringList{L"证券代码", L"", L""}));

    config.setCommitColumns({L"证券代码"}, {L"证券代码", L"委托数量"});
    EXPECT_EQ(config.commitTitles(), (StringList{L"证券代码"}));
    EXPECT_EQ(config.commitOwnNames(), (StringList{L"证券代码"}));
    EXPECT_EQ(config.commitColumnIndex(L"委托数量"), -1);
}

TEST(BrokerConfig, ColumnIndexIsTheFirstExactMatch) {
    BrokerConfig config(L"a", L"b");
    config.setPositionColumns(StringList(9, L"t"), {L"证券代码", L"股票", L"", L"数量", L"盈亏%", L"成本价",
                                                    L"", L"数量", L"市值"});
    EXPECT_EQ(config.positionColumnIndex(L"数量"), 3);
    EXPECT_EQ(config.positionColumnIndex(L"当前价"), -1);
    EXPECT_EQ(config.positionColumnIndex(L"盈亏"), -1);  // not a prefix match of "盈亏%"
    EXPECT_EQ(config.positionColumnIndex(L"盈亏%"), 4);
    EXPECT_EQ(config.positionColumnIndex(L"证券代码 "), -1);
    EXPECT_EQ(config.positionColumnIndex(L""), 2);  // an unused column, never a real lookup

    config.setPositionColumns(StringList(2, L"t"), {L"盈亏", L"盈亏%"});
    EXPECT_EQ(config.positionColumnIndex(L"盈亏%"), 1);
    EXPECT_EQ(config.positionColumnIndex(L"盈亏"), 0);

    config.setCommitColumns({L"a", L"b", L"c"}, {L"买卖标志", L"证券代码", L"证券代码"});
    EXPECT_EQ(config.commitColumnIndex(L"证券代码"), 1);
    EXPECT_EQ(config.positionColumnIndex(L"买卖标志"), -1);  // the two maps are separate
}

TEST(BrokerConfig, CloneIsAnIndependentCopyOfEveryField) {
    BrokerConfig original(L"国泰君安", L"富易");
    original.setButtonPositions(threeButtons());
    original.setPositionColumns({L"证券代码", L"可卖数量"}, {L"证券代码", L"可卖数量"});
    original.setCommitColumns({L"买卖标志"}, {L"买卖标志"});

    auto copy = original.clone();
    ASSERT_NE(copy.get(), &original);
    EXPECT_EQ(copy->name, original.name);
    EXPECT_EQ(copy->windowName, original.windowName);
    EXPECT_EQ(copy->buttonPositionList(), original.buttonPositionList());
    EXPECT_EQ(copy->positionTitles(), original.positionTitles());
    EXPECT_EQ(copy->positionOwnNames(), original.positionOwnNames());
    EXPECT_EQ(copy->commitTitles(), original.commitTitles());
    EXPECT_EQ(copy->commitOwnNames(), original.commitOwnNames());

    copy->name = L"副本";
    copy->setButtonPositions({});
    copy->setCommitColumns({}, {});
    EXPECT_EQ(original.name, L"国泰君安");
    EXPECT_EQ(original.buttonPositionList().size(), 3u);
    EXPECT_EQ(original.commitColumnIndex(L"买卖标志"), 0);
}

TEST(BrokerConfig, ListCopiesDoNotAliasTheConfiguration) {
    BrokerConfig config(L"a", L"b");
    config.setButtonPositions(threeButtons());
    auto buttons = config.buttonPositionsCopy();
    buttons[0].x = 999;
    buttons.pop_back();
    EXPECT_EQ(config.buttonPosition(ButtonSlot::Buy)->x, 10);
    EXPECT_TRUE(config.buttonPosition(ButtonSlot::Cancel).has_value());
}
