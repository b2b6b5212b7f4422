// Journal lines, command words, scenarios, options and list cells of the practice client.
#include <gtest/gtest.h>

#include <utility>

#include "simclient/client_options.h"
#include "simclient/column_cells.h"
#include "simclient/command_text.h"
#include "simclient/copy_captcha.h"
#include "simclient/grid_text.h"
#include "simclient/journal.h"
#include "simclient/scenario.h"

namespace halyard::simclient {
namespace {

TEST(JournalLineTest, WritesFlatJsonWithEscapedUtf8) {
    EXPECT_EQ(JournalLine("popup_shown")
                  .text("title", L"提示")
                  .text("text", L"a \"b\"\\\n\x01")
                  .number("id", -3)
                  .decimal("price", 8.875)
                  .json(42),
              "{\"t\":42,\"event\":\"popup_shown\",\"title\":\"\xE6\x8F\x90\xE7\xA4\xBA\",\"text\":\"a "
              "\\\"b\\\"\\\\\\n\\u0001\",\"id\":-3,\"price\":8.88}");
}

TEST(CommandTextTest, WordsSplitOnBlanksAndQuotesAndNumbersMustBeWhole) {
    EXPECT_EQ(splitCommand(L"  popup 提示  \"委托 已提交\" x"),
              (std::vector<std::wstring>{L"popup", L"提示", L"委托 已提交", L"x"}));
    const std::vector<std::wstring> words{L"position", L"600000", L"浦发 银行", L"", L"1"};
    EXPECT_EQ(splitCommand(joinCommand(words)), words);
    EXPECT_TRUE(splitCommand(L" \t ").empty());
    double d = 0;
    int64_t i = 0;
    EXPECT_TRUE(parseNumber(L"8.88", d));
    EXPECT_DOUBLE_EQ(d, 8.88);
    EXPECT_TRUE(parseWholeInteger(L"-5", i));
    EXPECT_EQ(i, -5);
    for (const wchar_t* text : {L"8.88x", L"", L" 1", L"inf"}) EXPECT_FALSE(parseNumber(text, d)) << text;
    for (const wchar_t* text : {L"5.0", L"99999999999999999999"})
        EXPECT_FALSE(parseWholeInteger(text, i)) << text;
}

TEST(ScenarioTest, RunsPlainLinesAtStartAndTimedLinesInTimeOrder) {
    const Scenario s = parseScenario(
        "\xEF\xBB\xBF# portfolio\r\n"
        "position 600000 浦发银行 100 100 8.5\r\n"
        "at 500 price 600000 8.2\n"
        "\n"
        "at 100   price 600000 8.4\n"
        "at x price 600000 1\n"
        "at 200\n"
        "   # indented comment\n"
        "fill all");
    ASSERT_EQ(s.steps.size(), 4u);
    EXPECT_EQ(s.steps[0].command, L"position 600000 浦发银行 100 100 8.5");
    EXPECT_EQ(s.steps[0].atMs, 0);
    EXPECT_EQ(s.steps[1].command, L"fill all");
    EXPECT_EQ(s.steps[2].command, L"price 600000 8.4");
    EXPECT_EQ(s.steps[2].atMs, 100);
    EXPECT_EQ(s.steps[2].line, 5);
    EXPECT_EQ(s.steps[3].atMs, 500);
    EXPECT_EQ(s.badLines, (std::vector<int>{6, 7}));
}

TEST(ClientOptionsTest, ParsesLayoutOptionsAndRefusesUnknownOnes) {
    ClientOptions o;
    std::wstring error;
    ASSERT_TRUE(
        parseClientOptions({L"--title", L"模拟证券-测试", L"--price-delay", L"never", L"--variant",
                            L"positions-extra-column", L"--orders-columns", L"证券代码,买卖标志",
                            L"--toolbar-offset", L"225", L"--button-width", L"1", L"--button-pitch", L"3"},
                           o, error));
    EXPECT_EQ(o.title, L"模拟证券-测试");
    EXPECT_FALSE(o.priceDelayMs);
    EXPECT_EQ(o.toolbarOffset, 225);
    EXPECT_EQ(o.buttonWidth, 1);
    EXPECT_EQ(o.buttonPitch, 3);
    EXPECT_EQ(o.ordersColumns, (std::vector<std::wstring>{L"证券代码", L"买卖标志"}));
    EXPECT_EQ(o.positionsColumns.size(), defaultPositionsColumns().size() + 1);
    for (const std::vector<std::wstring>& bad :
         std::vector<std::vector<std::wstring>>{{L"--variant", L"no-such"},
                                                {L"--price-delay", L"-1"},
                                                {L"--title"},
                                                {L"--bogus", L"1"},
                                                {L"--button-width", L"0"},
                                                {L"--button-pitch", L"x"},
                                                {L"--family", L"tree"},
                                                {L"--captcha-every", L"-1"}}) {
        ClientOptions ignored;
        EXPECT_FALSE(parseClientOptions(bad, ignored, error)) << bad[0];
    }
    ClientOptions grid;
    ASSERT_TRUE(parseClientOptions({L"--family", L"grid", L"--captcha-first", L"0"}, grid, error));
    EXPECT_EQ(grid.positionsColumns, defaultGridPositionsColumns());
    EXPECT_EQ(grid.ordersColumns, defaultGridOrdersColumns());
    EXPECT_EQ(grid.captchaFirst, 0);
    EXPECT_EQ(grid.captchaEvery, 15);
    EXPECT_EQ(grid.title, L"网上股票交易系统5.0");
    ClientOptions send;
    ASSERT_TRUE(
        parseClientOptions({L"--instance", L"模拟", L"--send", L"price", L"600000", L"9"}, send, error));
    EXPECT_TRUE(send.sendMode);
    EXPECT_EQ(send.instanceTitle, L"模拟");
    EXPECT_EQ(send.sendWords, (std::vector<std::wstring>{L"price", L"600000", L"9"}));
}

TEST(ColumnCellsTest, PositionAndOrderCellsAreDecimalText) {
    Market market;
    market.setPosition(L"600000", L"浦发银行", 1000, 600, 8.5, 8.88);
    const Position& p = market.positions().front();
    const std::pair<const wchar_t*, const wchar_t*> positionCells[] = {
        {L"证券名称", L"浦发银行"}, {L"证券数量", L"1000"},    {L"可卖数量", L"600"},
        {L"成本价", L"8.500"},      {L"最新市值", L"8880.00"}, {L"浮动盈亏", L"380.00"},
        {L"盈亏比例(%)", L"4.47"},  {L"不认识", L""},          {L"股票余额", L"1000"},
        {L"可用余额", L"600"},      {L"市价", L"8.880"},       {L"盈亏", L"380.00"},
        {L"市值", L"8880.00"}};
    for (const auto& [title, cell] : positionCells) EXPECT_EQ(positionCell(title, market, p), cell) << title;
    const int id = market.place(Side::Buy, L"600000", 8.8, 200, L"09:31:02");
    const Order& o = *market.pendingOrder(id);
    EXPECT_EQ(orderCell(L"买卖标志", market, o), L"买入");
    EXPECT_EQ(orderCell(L"委托价格", market, o), L"8.80");
    EXPECT_EQ(orderCell(L"委托时间", market, o), L"09:31:02");
    EXPECT_EQ(orderCell(L"合同编号", market, o), std::to_wstring(id));
    EXPECT_EQ(orderCell(L"操作", market, o), L"买入");
    EXPECT_EQ(orderCell(L"备注", market, o), L"未成交");
}

TEST(GridTextTest, CopiesAreTabSeparatedWithOneCellPerColumnOnEveryLine) {
    using Rows = std::vector<std::vector<std::wstring>>;
    const std::vector<std::wstring> titles{L"证券代码", L"市价"};
    const std::pair<Rows, std::wstring> cases[] = {
        {{}, L"证券代码\t市价\r\n"},
        {{{L"600000", L"8.880"}, {L"000001", L"10.350"}},
         L"证券代码\t市价\r\n600000\t8.880\r\n000001\t10.350\r\n"},
        {{{L"600000"}}, L"证券代码\t市价\r\n600000\t\r\n"},
        {{{L"6\t0", L"8\r\n8", L"extra"}}, L"证券代码\t市价\r\n6 0\t8  8\r\n"}};
    for (const auto& [rows, text] : cases) EXPECT_EQ(gridCopyText(titles, rows), text);
}

TEST(GridTextTest, RefusalsAndAcceptancesSpeakEachFamilysWords) {
    OrderCheck check;
    const std::pair<const char*, std::wstring> grid[] = {
        {"off_tick", L"委托价格的小数价格应为2位，请重新输入！"},
        {"above_sellable", L"可用数量不足"},
        {"outside_limit", L"own words"}};
    for (const auto& [reason, text] : grid) {
        check.reason = reason;
        check.message = L"own words";
        EXPECT_EQ(refusalNotice(Family::Grid, check), text) << reason;
        EXPECT_EQ(refusalNotice(Family::ListView, check), L"own words") << reason;
    }
    EXPECT_EQ(acceptedNotice(Family::Grid, Side::Sell, 17), L"您的卖出委托已成功提交，合同编号：17。");
    EXPECT_EQ(acceptedNotice(Family::ListView, Side::Sell, 17), L"委托已提交\n合同编号: 17");
}

TEST(CopyCaptchaTest, AsksAtTheFirstCopyThenEveryNthAndCodesHaveFourDigits) {
    struct Case {
        int first, every;
        std::vector<int> asking;  // among copies 1 to 40
    };
    for (const Case& c :
         {Case{4, 15, {4, 19, 34}}, Case{1, 0, {1}}, Case{0, 15, {}}, Case{38, 1, {38, 39, 40}}}) {
        CopyCaptcha captcha(c.first, c.every, 7);
        std::vector<int> asking;
        for (int copy = 1; copy <= 40; ++copy)
            if (captcha.countCopy()) asking.push_back(copy);
        EXPECT_EQ(asking, c.asking) << c.first << "/" << c.every;
    }
    CopyCaptcha captcha(4, 15, 12345);
    const std::wstring first = captcha.newCode(), second = captcha.newCode();
    EXPECT_EQ(first.size(), 4u);
    EXPECT_NE(first, second);
}

}  // namespace
}  // namespace halyard::simclient

TEST(ColumnCellsTest, ThousandsSeparatorsGroupOnlyTheWholePartOfNumbers) {
    using halyard::simclient::withThousandsSeparators;
    const std::pair<std::wstring, std::wstring> cases[] = {
        {L"1688.000", L"1,688.000"}, {L"-12345.5", L"-12,345.5"}, {L"999", L"999"},
        {L"1000000", L"1,000,000"},  {L"浦发银行", L"浦发银行"},  {L"", L""},
        {L"12:30:00", L"12:30:00"},  {L"1.2.3", L"1.2.3"}};
    for (const auto& c : cases) EXPECT_EQ(withThousandsSeparators(c.first), c.second);
}
