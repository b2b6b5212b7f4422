#include "rules/trade_journal.h"

#include <gtest/gtest.h>

#include "common/file_store.h"
#include "common/text_encoding.h"
#include "support/temp_folder.h"

namespace {

std::tm at(int hour, int minute, int second) {
    std::tm t{};
    t.tm_year = 126;
    t.tm_mon = 11;
    t.tm_mday = 9;
    t.tm_hour = hour;
    t.tm_min = minute;
    t.tm_sec = second;
    return t;
}

std::string contents(const TradeJournal& journal) {
    std::string bytes;
    halyard::readWholeFile(journal.path(), bytes);
    return bytes;
}

TEST(TradeJournal, AppendsOneDatedUtf8LinePerEntry) {
    TempFolder folder;
    std::tm now = at(9, 15, 0);
    TradeJournal journal(folder.folder(), [&] { return now; });
    EXPECT_EQ(journal.path(), folder.file(L"Halyard_journal.txt"));
    journal.sale(L"600000", L"浦发银行", 9.5f, 1000, 1);
    now = at(13, 0, 7);
    journal.cancellation(L"000001", L"平安银行", 300, false);
    journal.note(L"first line\r\nsecond line");
    EXPECT_TRUE(journal.lastWriteSucceeded());

    const std::string eol = halyard::withPlatformLineEnds("\n");
    const std::string expected = "2026-12-09 09:15:00 卖出 600000 浦发银行 价格 9.5 数量 1000 结果 1 已提交" +
                                 eol +
                                 "2026-12-09 13:00:07 撤单 000001 平安银行 未成交卖单 300 结果 0 撤单未确认" +
                                 eol + "2026-12-09 13:00:07 first line  second line" + eol;
    EXPECT_EQ(contents(journal), expected);
    EXPECT_TRUE(halyard::isValidUtf8(contents(journal)));

    // A second journal over the same folder (the next start) appends.
    TradeJournal next(folder.folder(), [&] { return now; });
    next.trigger(L"600519", L"贵州茅台", TriggerKind::TakeProfit, 1890.0f);
    EXPECT_EQ(contents(next),
              expected + "2026-12-09 13:00:07 触发 600519 贵州茅台 满足止盈条件 当前价 1890" + eol);
}

TEST(TradeJournal, LearntLayoutNamesEveryPointAndTitle) {
    TempFolder folder;
    TradeJournal journal(folder.folder(), [] { return at(9, 20, 0); });
    BrokerConfig config(L"模拟证券", L"模拟证券");
    config.setButtonPositions(
        {{L"买入按钮", 10, 20}, {L"卖出按钮", 22, 20}, {}, {L"撤单按钮2", 20, 20}, {L"持仓按钮", 55, 20}});
    config.setPositionColumns({L"证券代码", L"浮动盈亏"}, {L"证券代码", L"盈亏"});
    journal.layoutLearned(config);
    EXPECT_EQ(contents(journal),
              "2026-12-09 09:20:00 学到券商布局 模拟证券 买入(10,20) 卖出(22,20) 撤单(0,0) 撤单2(20,20) "
              "持仓(55,20) 持仓列 证券代码,浮动盈亏 委托列 " +
                  halyard::withPlatformLineEnds("\n"));
}

TEST(TradeJournal, FailureIsReportedOnlyThroughTheFlag) {
    TempFolder folder;
    // The journal's name taken by a folder: every append fails, quietly.
    std::filesystem::create_directories(folder.path() / "Halyard_journal.txt");
    TradeJournal journal(folder.folder(), [] { return at(10, 0, 0); });
    journal.alert(L"QQ", L"alerts", L"text");
    EXPECT_FALSE(journal.lastWriteSucceeded());
    TradeJournal elsewhere(folder.folder() + L"新文件夹/", [] { return at(10, 0, 0); });
    elsewhere.note(L"x");
    EXPECT_FALSE(elsewhere.lastWriteSucceeded());
    std::filesystem::create_directories(folder.path() / std::filesystem::u8path(u8"新文件夹"));
    elsewhere.note(L"x");
    EXPECT_TRUE(elsewhere.lastWriteSucceeded());
}

}  // namespace
