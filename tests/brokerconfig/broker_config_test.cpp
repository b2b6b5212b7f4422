// One broker configuration: its toolbar points by slot, its column maps and their lookups.
#include "brokerconfig/broker_config.h"

#include <gtest/gtest.h>

TEST(BrokerConfig, MissingButtonSlotsAreNoButton) {
    BrokerConfig config(L"招商", L"网上股票交易系统");
    EXPECT_FALSE(config.buttonPosition(ButtonSlot::Buy).has_value());
    config.setButtonPositions({{L"买入按钮", 10, 20}, {L"卖出按钮", 30, 40}, {L"撤单按钮", 50, 60}});
    EXPECT_EQ(*config.buttonPosition(ButtonSlot::Cancel), (ButtonPosition{L"撤单按钮", 50, 60}));
    EXPECT_EQ(config.buttonPosition(ButtonSlot::Sell)->x, 30);
    for (ButtonSlot slot : {ButtonSlot::CancelSecond, ButtonSlot::Positions, static_cast<ButtonSlot>(-1),
                            static_cast<ButtonSlot>(1000)})
        EXPECT_FALSE(config.buttonPosition(slot).has_value()) << static_cast<int>(slot);

    // A clone copies every field and shares none.
    config.setCommitColumns({L"委托方向"}, {L"买卖标志"});
    config.family = ClientFamily::Grid;
    config.grid.setPagePath(GridPage::Cancel, {L"撤单[F3]"});
    auto copy = config.clone();
    EXPECT_EQ(copy->family, ClientFamily::Grid);
    EXPECT_EQ(copy->grid, config.grid);
    EXPECT_EQ(copy->windowName, L"网上股票交易系统");
    EXPECT_EQ(copy->commitOwnNames(), config.commitOwnNames());
    copy->setButtonPositions({});
    EXPECT_EQ(config.buttonPositionList().size(), 3u);
}

TEST(BrokerConfig, OwnNamesFollowTheTitlesAndTheLookupFindsTheFirstExactOne) {
    BrokerConfig config(L"a", L"b");
    config.setPositionColumns({L"证券代码", L"证券名称", L"备注"}, {L"证券代码"});
    EXPECT_EQ(config.positionOwnNames(), (StringList{L"证券代码", L"", L""}));
    config.setCommitColumns({L"证券代码"}, {L"证券代码", L"委托数量"});
    EXPECT_EQ(config.commitOwnNames(), (StringList{L"证券代码"}));

    config.setPositionColumns(StringList(7, L"t"),
                              {L"证券代码", L"股票", L"", L"数量", L"盈亏%", L"数量", L"盈亏"});
    config.setCommitColumns({L"a", L"b", L"c"}, {L"买卖标志", L"证券代码", L"证券代码"});
    const struct {
        const wchar_t* ownName;
        int position, commit;
    } cases[] = {{L"数量", 3, -1},       {L"盈亏", 6, -1},     {L"盈亏%", 4, -1},  {L"证券代码", 0, 1},
                 {L"证券代码 ", -1, -1}, {L"买卖标志", -1, 0}, {L"当前价", -1, -1}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.ownName);
        EXPECT_EQ(config.positionColumnIndex(c.ownName), c.position);
        EXPECT_EQ(config.commitColumnIndex(c.ownName), c.commit);
    }
}

TEST(ColumnNames, ClientTitlesMapToOwnNamesByExactTitle) {
    EXPECT_EQ(mapPositionTitles({L"证券代码", L"证券名称", L"证券数量", L"可卖数量", L"成本价", L"当前价",
                                 L"最新市值", L"浮动盈亏", L"盈亏比例(%)", L"参考盈亏"}),
              (StringList{L"证券代码", L"股票", L"数量", L"可卖数量", L"成本价", L"当前价", L"市值", L"盈亏",
                          L"盈亏%", L""}));
    // Full-width brackets and percent sign, or a trailing blank, make other titles.
    EXPECT_EQ(mapPositionTitles({L"盈亏比例（％）", L"成本价 ", L"委托数量"}), (StringList{L"", L"", L""}));
    EXPECT_EQ(mapCommitTitles({L"委托时间", L"证券代码", L"买卖标志", L"委托数量", L"证券名称"}),
              (StringList{L"", L"证券代码", L"买卖标志", L"委托数量", L""}));
    // The grid family's tables know its own titles and the list-view ones.
    EXPECT_EQ(mapGridPositionTitles({L"股票余额", L"可用余额", L"市价", L"盈亏", L"浮动盈亏", L"参考盈亏"}),
              (StringList{L"数量", L"可卖数量", L"当前价", L"盈亏", L"盈亏", L""}));
    EXPECT_EQ(mapGridOrderTitles({L"委托时间", L"证券名称", L"操作", L"成交数量", L"合同编号", L"委托状态"}),
              (StringList{L"委托时间", L"股票", L"买卖标志", L"成交数量", L"合同编号", L""}));
}
