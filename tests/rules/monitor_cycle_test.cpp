#include "rules/monitor_cycle.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <deque>
#include <map>

#include "app/app_settings.h"
#include "app/settings_profile.h"
#include "broker/client_contact.h"
#include "broker/result_codes.h"
#include "brokerconfig/broker_config.h"
#include "brokerconfig/broker_config_store.h"
#include "common/file_store.h"
#include "common/text_encoding.h"
#include "rules/cancel_all_run.h"
#include "rules/close_all_run.h"
#include "rules/column_check.h"
#include "rules/monitor_session.h"
#include "rules/rule_file.h"
#include "rules/stock_sightings.h"
#include "rules/trade_journal.h"
#include "support/fake_executor.h"
#include "support/temp_folder.h"

namespace {

class FakeEnvironment : public MonitorEnvironment {
public:
    FakeEnvironment(CallLog& log, AppSettings& settings) : log_(log), settings_(settings) {}

    const AppSettings& alertSettings() override {
        ++settingsLookups;
        return settings_;
    }
    std::tm localTime() override { return now; }
    void playAlertSound(const std::wstring& file) override {
        log_.push_back("sound " + FakeExecutor::narrow(file));
    }
    void raiseMessageAlert(const std::wstring& text) override {
        log_.push_back("message");
        messageTexts.push_back(text);
    }
    void positionsRead(std::size_t count) override { log_.push_back("rows " + std::to_string(count)); }
    uint32_t tickMs() override { return tick; }
    void contactChanged(const ContactStatus& status) override { statuses.push_back(status); }
    void clientAsksInvestor(const std::wstring&) override { log_.push_back("shown"); }
    void monitorEvent(MonitorEvent event) override { ++events[event]; }

    uint32_t tick = 1000;
    std::vector<ContactStatus> statuses;
    std::map<MonitorEvent, int> events;

    std::tm now = [] {
        std::tm t{};
        t.tm_year = 114;
        t.tm_mon = 2;
        t.tm_mday = 3;
        t.tm_hour = 10;
        t.tm_min = 5;
        t.tm_sec = 3;
        return t;
    }();
    int settingsLookups = 0;
    std::vector<std::wstring> messageTexts;

private:
    CallLog& log_;
    AppSettings& settings_;
};

class NoticeSource : public ClientContact {
public:
    std::deque<std::vector<std::wstring>> batches;  // one for each time the cycle takes them
    bool confirmationOpen = false;
    std::vector<std::wstring> takeClientNotices() override {
        if (batches.empty()) return {};
        std::vector<std::wstring> batch = std::move(batches.front());
        batches.pop_front();
        return batch;
    }
    bool ownOrderAwaitingConfirmation() override { return confirmationOpen; }
    std::wstring positionsReadFailure() override { return readFailure; }
    std::wstring readFailure;
};

size_t count(const std::wstring& text, const std::wstring& part) {
    size_t found = 0;
    for (size_t at = text.find(part); at != std::wstring::npos; at = text.find(part, at + part.size()))
        ++found;
    return found;
}

PositionRow position(const wchar_t* code, const wchar_t* name, int32_t sellable, float price, float percent) {
    PositionRow row;
    row.code = code;
    row.name = name;
    row.quantity = sellable == 0 ? 500 : sellable;
    row.sellableQuantity = sellable;
    row.currentPrice = price;
    row.profitPercent = percent;
    return row;
}

StockRule percentStopLoss(const wchar_t* code, float percent) {
    StockRule rule;
    rule.Code = code;
    rule.StopLoss = percent;
    rule.High = 100.0f;  // above every test price, so the mark does not move unless a test wants it
    return rule;
}

class MonitorCycleTest : public ::testing::Test {
protected:
    MonitorCycleTest() : settings(profile), executor(log), environment(log, settings) {
        settings.phoneMessage = 1;
        settings.phoneNumber = L"13800000000";
        settings.qqMessage = 1;
        settings.qqNickname = L"alerts";
        PositionSnapshotStore::instance()->clear();
    }
    ~MonitorCycleTest() override { PositionSnapshotStore::destroyInstance(); }

    void hold(const PositionRows& rows, bool complete = true) {
        PositionsByCode byCode;
        for (const PositionRow& row : rows) byCode[row.code] = row;
        PositionSnapshotStore::instance()->replacePositions(byCode, rows, complete);
    }
    MonitorCycleResult runCycle(bool traceOrder = false, TradeJournal* journal = nullptr,
                                MonitorState* state = nullptr, ClientContact* contact = nullptr) {
        log.clear();
        MonitorCycle cycle(executor, *PositionSnapshotStore::instance(), environment, journal, state,
                           contact);
        return cycle.run(rules, traceOrder);
    }
    std::wstring journalText(const TradeJournal& journal) const {
        std::string bytes;
        halyard::readWholeFile(journal.path(), bytes);
        return halyard::fromUtf8(bytes);
    }

    DefaultsProfile profile;
    AppSettings settings;
    CallLog log;
    FakeExecutor executor;
    FakeEnvironment environment;
    RuleTable rules;
};

TEST(TradingHours, GateOpensOnlyInTheTwoSessions) {
    struct Case {
        int hour, minute, second;
        bool open;
    } cases[] = {
        {8, 59, 59, false},  {9, 0, 0, false},  {9, 14, 59, false},  {9, 15, 0, true},
        {10, 30, 0, true},   {11, 30, 0, true}, {11, 30, 59, true},  {11, 31, 0, false},
        {11, 59, 59, false}, {12, 0, 0, false}, {12, 59, 59, false}, {13, 0, 0, true},
        {14, 59, 59, true},  {15, 0, 0, false}, {0, 0, 0, false},    {21, 20, 0, false},
    };
    for (const Case& c : cases) {
        std::tm t{};
        t.tm_hour = c.hour;
        t.tm_min = c.minute;
        t.tm_sec = c.second;
        EXPECT_EQ(withinTradingHours(t), c.open) << c.hour << ":" << c.minute << ":" << c.second;
    }
}

TEST_F(MonitorCycleTest, StopLossSellsTheSellableQuantityThenAlerts) {
    hold({position(L"600000", L"浦发银行", 1000, 9.50f, -6.0f)});
    rules[L"600000"] = percentStopLoss(L"600000", 5);
    MonitorCycleResult result = runCycle();

    const CallLog expected = {
        "refresh", "rows 1", "pending 600000 1", "sound StopLoss.wav", "sell 600000 1000 9.500 0.0",
        "message"};
    EXPECT_EQ(log, expected);
    EXPECT_EQ(result.positionCount, 1u);
    EXPECT_EQ(result.actions, 1);
    ASSERT_EQ(environment.messageTexts.size(), 1u);
    EXPECT_EQ(environment.messageTexts[0], L"浦发银行 在 2014-03-03 10-05-03 满足止损条件 已经执行卖出操作");
}

TEST_F(MonitorCycleTest, RefusedSaleIsNotReportedAsExecuted) {
    hold({position(L"600000", L"浦发银行", 1000, 9.50f, -6.0f)});
    rules[L"600000"] = percentStopLoss(L"600000", 5);
    rules[L"600000"].SlipPrice = 2;
    MonitorState state;
    for (int32_t refusal : {-2, 0, static_cast<int32_t>(kOrderRefused)}) {
        executor.sellResults = {refusal};
        environment.messageTexts.clear();
        runCycle(false, nullptr, &state);
        ASSERT_EQ(environment.messageTexts.size(), 1u);
        EXPECT_EQ(environment.messageTexts[0], L"浦发银行 在 2014-03-03 10-05-03 满足止损条件") << refusal;
    }
    runCycle(false, nullptr, &state);
    EXPECT_EQ(std::count(log.begin(), log.end(), "sell 600000 1000 9.500 0.0"), 1);
    EXPECT_EQ(environment.events[MonitorEvent::SaleNotSubmitted], 3);
}

TEST_F(MonitorCycleTest, SoundOfEachKindAndChannelsFollowTheSettings) {
    StockRule takeProfit;
    takeProfit.Code = L"600519";
    takeProfit.Profit = 10;
    takeProfit.High = 2000;
    StockRule trailing;
    trailing.Code = L"000001";
    trailing.ApplyMoveStopLoss = true;
    trailing.HasTrigerMoveStopPrice = true;
    trailing.MoveStopLossTriggerPrice = 5;
    trailing.MoveStopLoss = 2;
    trailing.High = 10.0f;
    rules[L"600519"] = takeProfit;
    rules[L"000001"] = trailing;
    hold({position(L"600519", L"贵州茅台", 100, 1800.0f, 12.0f),
          position(L"000001", L"平安银行", 300, 9.79f, 6.0f)});
    settings.phoneMessage = 0;
    settings.takeProfitSound = L"tp.wav";
    settings.moveStopLossSound = L"C:\\sounds\\move.wav";
    runCycle();
    const CallLog expected = {"refresh",
                              "rows 2",
                              "pending 600519 1",
                              "sound tp.wav",
                              "sell 600519 100 1800.000 0.0",
                              "message",
                              "pending 000001 1",
                              "sound C:\\sounds\\move.wav",
                              "sell 000001 300 9.790 0.0",
                              "message"};
    EXPECT_EQ(log, expected);
    ASSERT_EQ(environment.messageTexts.size(), 2u);
    EXPECT_EQ(environment.messageTexts[1],
              L"平安银行 在 2014-03-03 10-05-03 满足跟踪止损条件 已经执行卖出操作");

    settings.playVoice = 0;
    runCycle();
    for (const std::string& call : log) EXPECT_EQ(call.rfind("sound", 0), std::string::npos) << call;
    // Which message channels are on is the dispatch's business: the cycle raises the text.
    EXPECT_EQ(std::count(log.begin(), log.end(), "message"), 2);
}

TEST_F(MonitorCycleTest, SlipPriceSellsThatManyUnitsBelow) {
    hold({position(L"600000", L"浦发银行", 1000, 12.35f, -6.0f)});
    rules[L"600000"] = percentStopLoss(L"600000", 5);
    rules[L"600000"].SlipPrice = 2;
    runCycle();
    EXPECT_NE(std::find(log.begin(), log.end(), "sell 600000 1000 12.330 0.0"), log.end());
}

TEST_F(MonitorCycleTest, SellableZeroDoesNothingEvenWithTraceOrder) {
    hold({position(L"600000", L"浦发银行", 0, 9.50f, -6.0f)});
    rules[L"600000"] = percentStopLoss(L"600000", 5);
    executor.pendingSells[L"600000"] = 1000;
    MonitorCycleResult result = runCycle(true);
    EXPECT_EQ(log, (CallLog{"refresh", "rows 1"}));
    EXPECT_EQ(result.actions, 0);
    EXPECT_EQ(environment.settingsLookups, 0);
}

TEST_F(MonitorCycleTest, PendingSellWithoutTraceOrderIsLeftToFill) {
    hold({position(L"600000", L"浦发银行", 200, 9.50f, -6.0f)});
    rules[L"600000"] = percentStopLoss(L"600000", 5);
    executor.pendingSells[L"600000"] = 800;
    runCycle(false);
    EXPECT_EQ(log, (CallLog{"refresh", "rows 1", "pending 600000 1"}));
    EXPECT_TRUE(environment.messageTexts.empty());
}

TEST_F(MonitorCycleTest, TraceOrderCancelsThenSellsTheQuantityReadBefore) {
    hold({position(L"600000", L"浦发银行", 200, 9.50f, -6.0f)});
    rules[L"600000"] = percentStopLoss(L"600000", 5);
    executor.pendingSells[L"600000"] = 800;
    // The re-read after the cancellation shows the released shares; the sale still uses 200.
    executor.nextReads = {{position(L"600000", L"浦发银行", 200, 9.50f, -6.0f)},
                          {position(L"600000", L"浦发银行", 1000, 9.50f, -6.0f)},
                          {position(L"600000", L"浦发银行", 800, 9.50f, -6.0f)}};
    MonitorState state;
    runCycle(true, nullptr, &state);
    ASSERT_GE(log.size(), 3u);
    EXPECT_EQ(CallLog(log.end() - 3, log.end()),
              (CallLog{"sound StopLoss.wav", "sell 600000 200 9.500 0.0", "message"}));
    runCycle(true, nullptr, &state);
    EXPECT_EQ(environment.events[MonitorEvent::SaleConfirmed], 1) << "1000 sellable after the cancel";
}

TEST_F(MonitorCycleTest, PendingBelowOneShareCountsAsNone) {
    hold({position(L"600000", L"浦发银行", 200, 9.50f, -6.0f)});
    rules[L"600000"] = percentStopLoss(L"600000", 5);
    executor.pendingSells[L"600000"] = 0.9f;
    runCycle(false);
    EXPECT_NE(std::find(log.begin(), log.end(), "sell 600000 200 9.500 0.0"), log.end());
}

TEST_F(MonitorCycleTest, MessageOnlyAlertsEveryCycleWithoutOrdersOrCancellations) {
    hold({position(L"600000", L"浦发银行", 1000, 9.50f, -6.0f)});
    rules[L"600000"] = percentStopLoss(L"600000", 5);
    rules[L"600000"].MessageOnly = 1;
    executor.pendingSells[L"600000"] = 300;
    for (int cycle = 0; cycle < 2; ++cycle) {
        runCycle(true);
        const CallLog expected = {"refresh", "rows 1", "pending 600000 1", "sound StopLoss.wav", "message"};
        EXPECT_EQ(log, expected) << cycle;
    }
    ASSERT_EQ(environment.messageTexts.size(), 2u);
    EXPECT_EQ(environment.messageTexts[1], L"浦发银行 在 2014-03-03 10-05-03 满足止损条件");
}

TEST_F(MonitorCycleTest, TwoTriggersBothAlertTheRefusedOneSaysSo) {
    hold({position(L"600000", L"浦发银行", 1000, 9.50f, -6.0f),
          position(L"000001", L"平安银行", 300, 9.00f, -8.0f)});
    rules[L"600000"] = percentStopLoss(L"600000", 5);
    rules[L"000001"] = percentStopLoss(L"000001", 5);
    executor.sellResults = {1, -2};
    MonitorCycleResult result = runCycle();
    EXPECT_EQ(result.actions, 2);
    ASSERT_EQ(environment.messageTexts.size(), 2u);
    EXPECT_EQ(environment.messageTexts[0], L"浦发银行 在 2014-03-03 10-05-03 满足止损条件 已经执行卖出操作");
    EXPECT_EQ(environment.messageTexts[1], L"平安银行 在 2014-03-03 10-05-03 满足止损条件");
    // Positions are visited in the store's row order, not in the rule table's order.
    auto first = std::find(log.begin(), log.end(), "sell 600000 1000 9.500 0.0");
    auto second = std::find(log.begin(), log.end(), "sell 000001 300 9.000 0.0");
    ASSERT_NE(first, log.end());
    ASSERT_NE(second, log.end());
    EXPECT_LT(first, second);
}

TEST_F(MonitorCycleTest, PositionsWithoutRulesAndEmptyRulesAreSkipped) {
    hold({position(L"600000", L"浦发银行", 1000, 9.50f, -60.0f)});
    MonitorCycleResult result = runCycle();
    EXPECT_EQ(log, (CallLog{"refresh", "rows 1"}));
    rules[L"000001"] = percentStopLoss(L"000001", 5);
    result = runCycle();
    EXPECT_EQ(log, (CallLog{"refresh", "rows 1"}));
    EXPECT_EQ(rules[L"000001"].High, 100.0f) << "one read without the stock is no sign it was sold";
    EXPECT_FALSE(runCycle().rulesChanged);
    EXPECT_EQ(environment.settingsLookups, 0);
}

TEST_F(MonitorCycleTest, ReportsWhenAHighMovedOrATrailingStopArmed) {
    StockRule rule;
    rule.Code = L"600000";
    rule.High = 9.0f;
    rule.MoveStopLossTriggerPrice = 5;
    rule.MoveStopLoss = 2;
    rules[L"600000"] = rule;

    hold({position(L"600000", L"浦发银行", 1000, 9.50f, 1.0f)});
    EXPECT_TRUE(runCycle().rulesChanged);  // High 9.00 -> 9.50
    EXPECT_FLOAT_EQ(rules[L"600000"].High, 9.50f);
    EXPECT_FALSE(runCycle().rulesChanged);  // nothing new

    hold({position(L"600000", L"浦发银行", 1000, 9.40f, 6.0f)});
    EXPECT_TRUE(runCycle().rulesChanged);  // armed, High unchanged
    EXPECT_TRUE(rules[L"600000"].HasTrigerMoveStopPrice);
    EXPECT_FALSE(runCycle().rulesChanged);

    // A list still loading reads as 0 rows: that is no sign the stock was sold.
    hold({});
    EXPECT_FALSE(runCycle().rulesChanged);
    EXPECT_FLOAT_EQ(rules[L"600000"].High, 9.50f);
    EXPECT_TRUE(rules[L"600000"].HasTrigerMoveStopPrice);
}

// High and arming reset only on evidence of a sale: back after a gap with another cost, or gone
// from complete reads that show other stocks for a whole trading day.
TEST_F(MonitorCycleTest, HighsAreResetOnlyOnEvidenceOfASale) {
    MonitorState state;
    const PositionRow other = position(L"000001", L"平安银行", 300, 9.00f, 1.0f);
    auto held = [&](float cost) {
        return PositionRows{{L"600000", L"浦发银行", 1000, 1000, cost, 0, 7.5f, 0, 12.90f}, other};
    };
    const struct {
        PositionRows rows;
        bool complete;
        int day, hour, minute;
        bool reset;
    } steps[] = {
        {held(12.0f), true, 3, 10, 0, false}, {{}, true, 3, 10, 1, false},
        {{other}, false, 3, 10, 2, false},    {held(12.0f), true, 3, 10, 3, false},
        {held(12.5f), true, 3, 10, 4, false}, {{}, true, 3, 10, 5, false},
        {held(11.0f), true, 3, 10, 6, true},  {{other}, true, 4, 10, 0, false},
        {{other}, true, 5, 14, 49, false},    {{}, true, 5, 14, 55, false},
        {{other}, false, 5, 14, 55, false},   {{other}, true, 5, 14, 50, true},
    };
    StockRule armed;
    armed.High = 13.0f;
    armed.HasTrigerMoveStopPrice = true;
    armed.MoveStopLossTriggerPrice = 10;  // the rows do not arm it again
    for (const auto& s : steps) {
        rules[L"600000"] = armed;
        environment.now.tm_mday = s.day;
        environment.now.tm_hour = s.hour;
        environment.now.tm_min = s.minute;
        hold(s.rows, s.complete);
        runCycle(false, nullptr, &state);
        EXPECT_EQ(rules[L"600000"].HasTrigerMoveStopPrice, !s.reset) << &s - steps;
    }
    // What was seen comes back after a restart.
    EXPECT_EQ(parseSightingDocument(formatSightingDocument(state.sightings)), state.sightings);
}

// The cycle at start-up outside trading hours reads and keeps the high; it never acts.
TEST_F(MonitorCycleTest, OutsideTradingHoursTheCycleKeepsTheHighButNeverActs) {
    hold({position(L"600000", L"浦发银行", 1000, 9.50f, -6.0f)});
    rules[L"600000"] = percentStopLoss(L"600000", 5);
    rules[L"600000"].High = 0;
    environment.now.tm_hour = 20;
    EXPECT_TRUE(runCycle().rulesChanged);
    EXPECT_EQ(log, (CallLog{"refresh", "rows 1"}));
    EXPECT_FLOAT_EQ(rules[L"600000"].High, 9.50f);
}

TEST_F(MonitorCycleTest, JournalHoldsTheTriggerSaleCancellationAndSound) {
    TempFolder folder;
    TradeJournal journal(folder.folder(), [this] { return environment.now; });
    hold({position(L"600000", L"浦发银行", 200, 9.50f, -6.0f)});
    rules[L"600000"] = percentStopLoss(L"600000", 5);
    executor.pendingSells[L"600000"] = 800;
    executor.sellResults = {-2};
    runCycle(true, &journal);

    std::string bytes;
    ASSERT_TRUE(halyard::readWholeFile(journal.path(), bytes));
    const std::wstring text = halyard::fromUtf8(bytes);
    const std::wstring stamp = L"2014-03-03 10:05:03 ";
    for (const wchar_t* line : {
             L"撤单 600000 浦发银行 未成交卖单 800 结果 1",
             L"触发 600000 浦发银行 满足止损条件 当前价 9.5",
             L"提醒 声音 StopLoss.wav 满足止损条件",
             L"卖出 600000 浦发银行 价格 9.5 数量 200 结果 -2 未提交",
         }) {
        EXPECT_NE(text.find(stamp + line), std::wstring::npos) << halyard::toUtf8(std::wstring(line));
    }
}

TEST_F(MonitorCycleTest, UnwritableJournalDoesNotStopTheSale) {
    TempFolder folder;
    TradeJournal journal(folder.folder() + L"missing-folder/", [this] { return environment.now; });
    hold({position(L"600000", L"浦发银行", 1000, 9.50f, -6.0f)});
    rules[L"600000"] = percentStopLoss(L"600000", 5);
    runCycle(false, &journal);
    EXPECT_FALSE(journal.lastWriteSucceeded());
    EXPECT_NE(std::find(log.begin(), log.end(), "sell 600000 1000 9.500 0.0"), log.end());
}

// The watch: a lost client is connected again at every cycle for a minute, then every 30 s;
// no rule acts meanwhile; one alert after 60 s of trading hours, one on recovery.
TEST_F(MonitorCycleTest, LostClientIsReconnectedPacedAndAlertedOncePerLoss) {
    TempFolder folder;
    TradeJournal journal(folder.folder(), [this] { return environment.now; });
    MonitorState state;
    hold({position(L"600000", L"浦发银行", 1000, 9.50f, -6.0f)});
    rules[L"600000"] = percentStopLoss(L"600000", 5);
    executor.connected = 0;
    executor.connectResult = 0;
    executor.errorText = L"找不到券商软件主窗口";

    struct Step {
        uint32_t atMs;
        bool connects;
        size_t smsSoFar;
    } steps[] = {{0, true, 0},       {6000, true, 0},   {54000, true, 0},  {59000, true, 0},
                 {65000, false, 1},  {71000, false, 1}, {89000, true, 1},  {95000, false, 1},
                 {118000, false, 1}, {119000, true, 1}, {125000, false, 1}};
    for (const Step& step : steps) {
        environment.tick = 1000 + step.atMs;
        runCycle(false, &journal, &state);
        const bool connected = std::find(log.begin(), log.end(), "connect") != log.end();
        EXPECT_EQ(connected, step.connects) << step.atMs;
        EXPECT_EQ(std::count(log.begin(), log.end(), "connect"), connected ? 1 : 0)
            << "at most once per cycle";
        EXPECT_EQ(std::find(log.begin(), log.end(), "refresh"), log.end()) << "no read while lost";
        EXPECT_EQ(std::find(log.begin(), log.end(), "sell 600000 1000 9.500 0.0"), log.end());
        EXPECT_EQ(environment.messageTexts.size(), step.smsSoFar) << step.atMs;
    }
    ASSERT_EQ(environment.messageTexts.size(), 1u);
    EXPECT_EQ(environment.messageTexts[0], kContactLostAlert);
    EXPECT_EQ(environment.statuses.back().kind, ContactStatus::Kind::Lost);
    EXPECT_EQ(environment.statuses.back().errorText, L"找不到券商软件主窗口");

    // The client is back: the same cycle reads and acts, and the recovery is told once.
    executor.connectResult = 1;
    environment.tick = 1000 + 150000;
    runCycle(false, &journal, &state);
    EXPECT_NE(std::find(log.begin(), log.end(), "sell 600000 1000 9.500 0.0"), log.end());
    ASSERT_EQ(environment.messageTexts.size(), 3u);
    EXPECT_EQ(environment.messageTexts[1], kContactBackAlert);
    const std::wstring text = journalText(journal);
    EXPECT_EQ(count(text, L"与券商软件失去连接: 找不到券商软件主窗口"), 1u) << "one line per loss";
    EXPECT_EQ(count(text, L":03 已重新连接券商软件"), 1u);
    EXPECT_EQ(environment.events[MonitorEvent::ContactLost], 1) << "one loss, however many cycles";
}

// A read that fails while the client's windows stay (hung): no connect, the status line at once,
// no rule on rows older than two intervals and 10 s, one alert a minute after the last good read
// (after the first failure when that read is from before a pause), one on recovery.
TEST_F(MonitorCycleTest, FailedReadsAreALossOfContactAndOldRowsDecideNothing) {
    TempFolder folder;
    TradeJournal journal(folder.folder(), [this] { return environment.now; });
    MonitorState state;
    NoticeSource contact;
    hold({position(L"600000", L"浦发银行", 1000, 9.50f, -6.0f)});
    rules[L"600000"] = percentStopLoss(L"600000", 5);
    rules[L"600000"].MessageOnly = 1;  // acts at every cycle it may
    const struct {
        uint32_t atMs;
        bool fails, acts;
        int lost, back;
    } steps[] = {{0, false, true, 0, 0},       {6000, true, true, 0, 0},    {22000, true, true, 0, 0},
                 {23000, true, false, 0, 0},   {59000, true, false, 0, 0},  {60000, true, false, 1, 0},
                 {66000, true, false, 1, 0},   {72000, false, true, 1, 1},  {5400000, true, false, 1, 1},
                 {5459000, true, false, 1, 1}, {5460000, true, false, 2, 1}};
    for (const auto& step : steps) {
        environment.tick = 1000 + step.atMs;
        contact.readFailure = step.fails ? L"券商软件未响应" : L"";
        runCycle(false, &journal, &state, &contact);
        const auto& texts = environment.messageTexts;
        EXPECT_EQ(std::count(log.begin(), log.end(), "connect"), 0) << step.atMs;
        EXPECT_EQ(std::count(log.begin(), log.end(), "pending 600000 1"), step.acts ? 1 : 0) << step.atMs;
        EXPECT_EQ(std::count(texts.begin(), texts.end(), kContactLostAlert), step.lost) << step.atMs;
        EXPECT_EQ(std::count(texts.begin(), texts.end(), kContactBackAlert), step.back) << step.atMs;
        EXPECT_EQ(environment.statuses.back().kind == ContactStatus::Kind::Lost, step.fails) << step.atMs;
    }
    EXPECT_EQ(count(journalText(journal), L"与券商软件失去连接: 券商软件未响应"), 2u);
    EXPECT_EQ(count(journalText(journal), L"券商软件已恢复响应"), 1u);
}

// Outside trading hours the watch only looks for the client's window, and connects (clicking
// through its pages) once for each window not tried before; it never alerts.
TEST_F(MonitorCycleTest, OutsideTradingHoursTheWatchConnectsOnlyToANewClientWindowAndNeverAlerts) {
    MonitorState state;
    executor.connected = 0;
    executor.connectResult = 0;
    const auto first = reinterpret_cast<WindowHandle>(1);
    const auto second = reinterpret_cast<WindowHandle>(2);
    const struct {
        uint32_t atMs;
        WindowHandle window;
        int result;
        bool connects;
    } steps[] = {{0, nullptr, 0, false},    {70000, first, 0, true},    {200000, first, 0, false},
                 {300000, second, 0, true}, {400000, second, 1, false}, {500000, first, 1, true}};
    for (const auto& step : steps) {
        environment.tick = 1000 + step.atMs;
        executor.clientWindow = step.window;
        executor.connectResult = step.result;
        log.clear();
        MonitorCycle(executor, *PositionSnapshotStore::instance(), environment, nullptr, &state).watchOnly();
        EXPECT_EQ(log, step.connects ? CallLog{"connect"} : CallLog{}) << step.atMs;
    }
    EXPECT_EQ(environment.statuses.back().kind, ContactStatus::Kind::Connected);
    EXPECT_TRUE(environment.messageTexts.empty()) << "no loss was told, so no recovery is";
}

TEST_F(MonitorCycleTest, SlipPriceOutsideZeroToTenActsAsTheNearestBound) {
    const struct {
        int32_t slip;
        const char* sale;
    } cases[] = {{-3, "sell 600000 1000 9.500 0.0"},
                 {500, "sell 600000 1000 9.400 0.0"},
                 {2, "sell 600000 1000 9.480 0.0"}};
    for (const auto& c : cases) {
        hold({position(L"600000", L"浦发银行", 1000, 9.50f, -6.0f)});
        rules[L"600000"] = percentStopLoss(L"600000", 5);
        rules[L"600000"].SlipPrice = c.slip;
        runCycle();
        EXPECT_NE(std::find(log.begin(), log.end(), c.sale), log.end()) << c.slip;
        EXPECT_EQ(rules[L"600000"].SlipPrice, c.slip) << "the stored value is kept";
    }
}

// A sale is 已确认 once a read shows the sellable quantity reduced, else 未确认 after three
// reads (those while the client still shows its confirmation do not count), and the stock is
// not sold again in between.
TEST_F(MonitorCycleTest, SalesAreConfirmedByTheNextReadsAndNotRepeatedMeanwhile) {
    TempFolder folder;
    TradeJournal journal(folder.folder(), [this] { return environment.now; });
    MonitorState state;
    NoticeSource client;
    rules[L"600000"] = percentStopLoss(L"600000", 5);
    rules[L"000001"] = percentStopLoss(L"000001", 5);
    rules[L"000001"].SlipPrice = 2;
    const PositionRow falling = position(L"600000", L"浦发银行", 1000, 9.50f, -6.0f);
    PositionRow frozen = falling;
    frozen.sellableQuantity = 0;
    const PositionRow other = position(L"000001", L"平安银行", 300, 9.00f, -8.0f);

    executor.nextReads = {{falling}, {}, {frozen}};  // 0 rows (a list still loading) confirm nothing
    for (int cycle = 0; cycle < 3; ++cycle) {
        runCycle(false, &journal, &state, &client);
        EXPECT_EQ(
            journalText(journal).find(L"卖出确认 600000 浦发银行 数量 1000 已确认") != std::wstring::npos,
            cycle == 2);
    }

    // The client never shows the second sale. Its confirmation stays open; its first minute of
    // reads does not count, then three reads, no second order, then 未确认.
    // The stock may be at its limit-down price: after 未确认 the next sale goes at the latest price.
    constexpr int kCycles = 7;
    executor.nextReads.assign(kCycles, {other});
    int sales = 0;
    for (int cycle = 0; cycle < kCycles; ++cycle) {
        client.confirmationOpen = cycle >= 1;
        environment.tick = 1000 + 20000 * cycle;
        runCycle(false, &journal, &state, &client);
        sales += static_cast<int>(std::count(
            log.begin(), log.end(), cycle == 0 ? "sell 000001 300 8.980 0.0" : "sell 000001 300 9.000 0.0"));
        if (cycle == kCycles - 2) {
            EXPECT_EQ(sales, 1) << "no second sale while the first is unconfirmed";
        }
    }
    EXPECT_EQ(sales, 2) << "after 未确认 the rule may act again";
    EXPECT_EQ(rules[L"600000"].High, 0.0f) << "its whole holding sold, 600000 left the reads";
    const std::wstring text = journalText(journal);
    EXPECT_EQ(count(text, L"卖出确认 000001 平安银行 数量 300 等待中: 券商软件的交易确认还开着"), 1u);
    EXPECT_EQ(count(text, L"卖出确认 000001 平安银行 数量 300 未确认"), 1u);
    EXPECT_EQ(count(text, L"卖出 000001 平安银行 按最新价, 不减价: 上次卖出未确认"), 1u);
    EXPECT_EQ(std::count(environment.messageTexts.begin(), environment.messageTexts.end(),
                         saleNotSeenText(L"平安银行", environment.now)),
              1);
    EXPECT_EQ(environment.events, (std::map<MonitorEvent, int>{{MonitorEvent::Trigger, 3},
                                                               {MonitorEvent::SaleSubmitted, 3},
                                                               {MonitorEvent::SaleConfirmed, 1},
                                                               {MonitorEvent::SaleUnconfirmed, 1}}));
}

TEST_F(MonitorCycleTest, ASaleTheClientRefusesIsNotReportedAsSold) {
    NoticeSource notices;
    rules[L"000001"] = percentStopLoss(L"000001", 5);
    hold({position(L"000001", L"平安银行", 300, 9.90f, -10.0f)});
    notices.batches = {{}, {}, {L"券商提示: 委托价格超出涨跌停限制(跌停9.90 涨停12.10)"}};
    runCycle(false, nullptr, nullptr, &notices);
    EXPECT_EQ(environment.messageTexts.back(), L"平安银行 在 2014-03-03 10-05-03 满足止损条件");
    for (const wchar_t* accepted :
         {L"券商提示: 委托已提交\n合同编号: 3", L"券商提示: 操作: 卖出\n是否提交该委托?"})
        EXPECT_FALSE(noticeRefusesOrder(accepted));
    EXPECT_TRUE(noticeRefusesOrder(L"券商提示: 可卖数量不足(可卖0股)"));

    // A captcha waits for the investor: shown and alerted at once, once, among other notices.
    notices.batches = {{L"券商提示: 委托已提交", kCaptchaNotice}, {}, {}};
    runCycle(false, nullptr, nullptr, &notices);
    EXPECT_EQ(std::count(log.begin(), log.end(), "shown"), 1);
    EXPECT_EQ(std::count(environment.messageTexts.begin(), environment.messageTexts.end(), kCaptchaNotice),
              1);
}

TEST_F(MonitorCycleTest, ChaseWithAFailedCancelStillAlertsAndSellsTheSellableQuantity) {
    TempFolder folder;
    TradeJournal journal(folder.folder(), [this] { return environment.now; });
    NoticeSource notices;
    notices.batches = {{L"券商提示: 该委托已成交或已撤销"}};
    hold({position(L"600000", L"浦发银行", 200, 9.50f, -6.0f)});
    rules[L"600000"] = percentStopLoss(L"600000", 5);
    executor.pendingSells[L"600000"] = 800;
    executor.cancelResult = false;
    runCycle(true, &journal, nullptr, &notices);
    const CallLog expected = {"refresh",
                              "rows 1",
                              "pending 600000 1",
                              "cancel 600000 1",
                              "sound StopLoss.wav",
                              "sell 600000 200 9.500 0.0",
                              "message"};
    EXPECT_EQ(log, expected);
    EXPECT_EQ(environment.messageTexts.back(),
              L"浦发银行 在 2014-03-03 10-05-03 满足止损条件 已经执行卖出操作, 之前的卖单未能撤销");
    const std::wstring text = journalText(journal);
    for (const wchar_t* line :
         {L"撤单 600000 浦发银行 未成交卖单 800 结果 0 撤单未确认",
          L"撤单失败 600000 浦发银行: 之前的卖单 800 股仍在券商软件中, 只卖出可卖数量 200",
          L"卖出 600000 浦发银行 价格 9.5 数量 200 结果 1 已提交", L"券商提示: 该委托已成交或已撤销"})
        EXPECT_NE(text.find(line), std::wstring::npos) << halyard::toUtf8(line);
}

// 追单 of Halyard's own resting order: sold again at the new price, at most every 3 s, the
// quantity shown after the cancel; from 14:57 nothing is cancelled (told once a day).
TEST_F(MonitorCycleTest, TraceOrderRepricesHalyardsOwnRestingOrder) {
    TempFolder folder;
    TradeJournal journal(folder.folder(), [this] { return environment.now; });
    MonitorState state;
    rules[L"600000"] = percentStopLoss(L"600000", 5);
    rules[L"600000"].SlipPrice = 2;
    const struct {
        int hhmm, atMs, trace, sellable, pending, sellableAfterCancel;
        float price;
        std::string orders;
    } steps[] = {
        {1005, 0, 1, 1000, 0, 0, 9.50f, "sell 600000 1000 9.480 0.0;"},
        {1005, 3000, 1, 0, 1000, 0, 9.48f, ""},  // at the current price the order can fill
        {1006, 6000, 0, 0, 1000, 0, 9.30f, ""},
        {1006, 7000, 1, 0, 1000, 1000, 9.30f, "cancel 600000 1;sell 600000 1000 9.280 0.0;"},
        {1006, 9000, 1, 0, 1000, 0, 9.10f, ""},
        {1457, 12000, 1, 200, 800, 0, 9.00f, "sell 600000 200 8.980 0.0;"},
        {1458, 18000, 1, 0, 200, 0, 8.90f, ""},
    };
    for (const auto& s : steps) {
        environment.now.tm_hour = s.hhmm / 100;
        environment.now.tm_min = s.hhmm % 100;
        environment.tick = 1000 + static_cast<uint32_t>(s.atMs);
        PositionRow row = position(L"600000", L"浦发银行", s.sellable, s.price, -8.0f);
        executor.nextReads = {{row}};
        row.sellableQuantity = s.sellableAfterCancel;
        if (s.sellableAfterCancel) executor.nextReads.push_back({row});
        executor.pendingSells[L"600000"] = static_cast<float>(s.pending);
        runCycle(s.trace != 0, &journal, &state);
        std::string orders;
        for (const std::string& call : log)
            if (call.rfind("sell", 0) == 0 || call.rfind("cancel", 0) == 0) orders += call + ";";
        EXPECT_EQ(orders, s.orders) << s.atMs;
    }
    ASSERT_EQ(environment.messageTexts.size(), 3u) << "one alert for each sale";
    EXPECT_EQ(
        environment.messageTexts.back(),
        L"浦发银行 在 2014-03-03 14-57-03 满足止损条件 已经执行卖出操作, 14:57 后不能撤单, 之前的卖单保留");
    EXPECT_EQ(count(journalText(journal), L"14:57 后交易所不接受撤单, 之前的卖单"), 1u);
}

// Prices decide without the percent, unless a trailing stop still has to be armed by it.
TEST_F(MonitorCycleTest, ARuleOfPricesDecidesWithoutTheProfitPercent) {
    PositionRow row = position(L"600000", L"浦发银行", 1000, 9.50f, 0);
    row.unreadableCells = kProfitPercentCell;
    const struct {
        int32_t stopLossType;
        bool armed, sells;
    } cases[] = {{1, true, true}, {1, false, false}, {0, true, false}};
    for (const auto& c : cases) {
        hold({row});
        rules[L"600000"] = {L"600000",     0, c.stopLossType ? 9.6f : 5.0f, 50, 50, 100, true, c.armed,
                            c.stopLossType};
        runCycle();
        EXPECT_EQ(std::count(log.begin(), log.end(), "sell 600000 1000 9.500 0.0"), c.sells ? 1 : 0);
    }
}

// A number cell that could not be read (or a negative quantity) never decides a rule: the
// journal names the cell once a day, and a minute of it in trading hours raises one alert.
TEST_F(MonitorCycleTest, UnreadableCellsStopTheRuleAreJournalledOnceAndAlertedAfterAMinute) {
    TempFolder folder;
    TradeJournal journal(folder.folder(), [this] { return environment.now; });
    MonitorState state;
    PositionRow noPrice = position(L"600000", L"浦发银行", 1000, 0, -6.0f);
    noPrice.unreadableCells = kCurrentPriceCell;
    hold({noPrice, position(L"000001", L"平安银行", -100, 9.00f, -8.0f)});
    rules[L"600000"] = percentStopLoss(L"600000", 8.0f);
    rules[L"600000"].StopLossType = 1;  // a price of 0 would match it
    rules[L"000001"] = percentStopLoss(L"000001", 5);
    for (const auto& [atMs, alerts] :
         {std::pair<uint32_t, size_t>{0, 0}, {30000, 0}, {61000, 2}, {90000, 2}}) {
        const size_t before = environment.messageTexts.size();
        environment.tick = 1000 + atMs;
        runCycle(false, &journal, &state);
        EXPECT_EQ(environment.messageTexts.size(), alerts) << atMs;
        CallLog expected{"refresh", "rows 2"};
        expected.resize(2 + alerts - before, "message");
        EXPECT_EQ(log, expected) << atMs << ": no order, no pending-order read";
    }
    EXPECT_EQ(environment.messageTexts[0], L"浦发银行(600000) 的当前价一分钟以上无法读取, 止损暂停");
    const std::wstring text = journalText(journal);
    EXPECT_EQ(count(text, L"读取 600000 浦发银行 的 当前价 无法识别"), 1u);
    EXPECT_EQ(count(text, L"读取 000001 平安银行 的 可卖数量 无法识别"), 1u);
}

// The main window as the session sees it: what is shown at once and what is handed over later.
class FakeView : public MonitorView {
public:
    explicit FakeView(CallLog& log) : log_(log) {}
    void showStatusLine(const std::wstring& text) override { statusLines.push_back(text); }
    void showRowCount(std::size_t count) override { log_.push_back("view rows " + std::to_string(count)); }
    void refreshList() override { log_.push_back("view refresh"); }
    void repaintList() override { log_.push_back("view repaint"); }
    void showMessage(const std::wstring& text) override {
        log_.push_back("view message");
        messages.push_back(text);
    }
    std::vector<std::wstring> statusLines;
    std::vector<std::wstring> messages;

private:
    CallLog& log_;
};

class MonitorSessionTest : public MonitorCycleTest {
protected:
    MonitorSessionTest()
        : configFolder(),
          view(log),
          session(folder.folder(), executor, *PositionSnapshotStore::instance(), environment, view) {
        executor.clientWindow = reinterpret_cast<WindowHandle>(1);
        session.rules()[L"600000"] = percentStopLoss(L"600000", 5);
    }
    ~MonitorSessionTest() override { BrokerConfigStore::destroyInstance(); }
    void tickAt(int hour, int minute) {
        log.clear();
        environment.now.tm_hour = hour;
        environment.now.tm_min = minute;
        session.tick(environment.now);
    }
    bool logged(const std::string& call) const {
        return std::find(log.begin(), log.end(), call) != log.end();
    }

    struct ConfigFolder {
        ConfigFolder() { BrokerConfigStore::setFolder(folder.folder()); }
        TempFolder folder;
    } configFolder;
    TempFolder folder;
    FakeView view;
    MonitorSession session;
};

TEST_F(MonitorSessionTest, TheTimerCyclesWhileRunningInTradingHoursAndWatchesOtherwise) {
    hold({position(L"600000", L"浦发银行", 1000, 9.80f, -2.0f)});
    const struct {
        int hour, minute;
        bool running, detecting, cycle;
    } cases[] = {{10, 0, true, false, true},  {12, 0, true, false, false},  {13, 0, true, false, true},
                 {15, 0, true, false, false}, {10, 0, false, false, false}, {10, 0, true, true, false},
                 {20, 0, true, true, false}};
    for (const auto& c : cases) {
        session.setRunning(c.running);
        executor.detecting = c.detecting;
        tickAt(c.hour, c.minute);
        EXPECT_EQ(logged("refresh"), c.cycle) << c.hour << " " << c.running << c.detecting;
        if (c.detecting || !c.running) {
            EXPECT_TRUE(log.empty()) << c.hour << " leaves the executor alone";
        }
        // The list is repainted once the cycle is over, never inside it.
        if (c.cycle) {
            EXPECT_EQ(log.back(), "view repaint");
        }
    }
    // The first cycle reads whatever the hour; the watch's reconnect has the list refreshed after.
    executor.detecting = false;
    session.setRunning(true);
    environment.now.tm_hour = 20;
    log.clear();
    session.startUpCycle();
    EXPECT_TRUE(logged("refresh"));
    executor.connected = 0;
    tickAt(20, 5);
    EXPECT_EQ(log, (CallLog{"connect", "view refresh"}));
    EXPECT_EQ(view.statusLines.back().rfind(L"已连接 ", 0), 0u);
    executor.connected = executor.connectResult = 0;
    executor.errorText = L"找不到券商软件主窗口";
    environment.tick += 200000;
    tickAt(20, 10);
    EXPECT_EQ(view.statusLines.back().rfind(L"未连接券商: 找不到券商软件主窗口", 0), 0u)
        << view.statusLines.back();
}

TEST_F(MonitorSessionTest, ASaleIsWrittenAtOnceAndMovedHighsAreSpacedOut) {
    const struct {
        float price, percent;
        uint32_t tick;
        float highOnDisk;
    } steps[] = {{9.70f, 0, 20000, 9.70f},
                 {9.80f, 0, 21000, 9.70f},
                 {9.00f, -6, 22000, 9.80f},  // the sale
                 {9.90f, 0, 23000, 9.80f},
                 {9.90f, 0, 33000, 9.90f}};
    session.rules()[L"600000"].High = 9.0f;
    for (const auto& step : steps) {
        hold({position(L"600000", L"浦发银行", 1000, step.price, step.percent)});
        environment.tick = step.tick;
        tickAt(10, 0);
        session.waitForRuleFile();
        EXPECT_FLOAT_EQ(loadRules(folder.folder())[L"600000"].High, step.highOnDisk) << step.tick;
    }
    EXPECT_EQ(session.state().pendingSales.count(L"600000"), 1u) << "the sale is what was written at once";
}

TEST_F(MonitorSessionTest, CloseAllHoldsTheTimerAndTheStatusLineThenSumsUpAndTheTestSaleRefusesNoPrice) {
    executor.nextReads = {
        {position(L"600000", L"浦发银行", 1000, 9.80f, 0), position(L"000001", L"平安银行", 300, 0, 0)}};
    executor.sellResults = {-2};  // held back by the spacing of sales: tried again at the next step
    ASSERT_TRUE(session.closeAll());
    EXPECT_FALSE(session.closeAll()) << "one command at a time";
    tickAt(10, 0);
    executor.detecting = true;
    EXPECT_TRUE(session.stepCommand());
    EXPECT_TRUE(log.empty()) << "no cycle and no step meanwhile";
    executor.detecting = false;
    session.showContact(ContactStatus{});
    while (session.stepCommand()) {
    }
    EXPECT_EQ(log, (CallLog{"sell 600000 1000 9.800 0.0", "sell 600000 1000 9.800 0.0", "refresh",
                            "view refresh", "view repaint", "view message"}));
    ASSERT_EQ(view.messages.size(), 1u);
    EXPECT_EQ(view.messages[0].rfind(L"全平结束: 1 笔已提交, 1 笔没有卖出", 0), 0u);
    EXPECT_EQ(view.statusLines.front(), L"全平: 正在读取持仓 ...");
    EXPECT_EQ(std::count_if(view.statusLines.begin(), view.statusLines.end(),
                            [](const std::wstring& line) { return line.rfind(L"已连接 ", 0) == 0; }),
              1)
        << "the contact is shown once the command no longer holds the line";
    EXPECT_EQ(view.statusLines.back().rfind(L"已连接 ", 0), 0u);

    hold({position(L"600000", L"浦发银行", 1000, 10.35f, 0), position(L"000001", L"平安银行", 300, 0, 0)});
    log.clear();
    for (std::size_t row : {0, 1, 2}) session.sellAtTestPrice(row);
    ASSERT_FALSE(log.empty());
    // 10.35 x 1.05 = 10.8675: sent on the 0.01 tick.
    EXPECT_TRUE(log[0] == "sell 600000 1000 10.870 0.0" || log[0] == "sell 600000 1000 10.860 0.0") << log[0];
    EXPECT_EQ(std::count(log.begin(), log.end(), "view message"), 1);
    EXPECT_EQ(view.messages.back(), L"以下股票的当前价无法读取, 没有卖出:\n000001 平安银行");
}

TEST_F(MonitorCycleTest, CloseAllAndCancelAllActOnAReadAfterThePressAndSumUp) {
    TempFolder folder;
    TradeJournal journal(folder.folder(), [this] { return environment.now; });
    PositionRow noPrice = position(L"600519", L"贵州茅台", 100, 0, 0);
    noPrice.unreadableCells = kCurrentPriceCell;
    hold({position(L"600036", L"招商银行", 500, 36.0f, 0)});  // an old read: not sold
    executor.nextReads = {{position(L"600000", L"浦发银行", 1000, 9.50f, 0),
                           position(L"600036", L"招商银行", 0, 36.0f, 0), noPrice,
                           position(L"000001", L"平安银行", 300, 9.00f, 0),
                           position(L"000858", L"五粮液", 200, 142.5f, 0)}};
    // A refusal before a press answers no sale of this run; the one after 000001's press refuses it.
    NoticeSource notices;
    notices.batches = {{L"委托失败: 超出涨跌停"}, {}, {}, {}, {}, {L"委托失败: 可用数量不足"}};
    CloseAllRun run(*PositionSnapshotStore::instance(), &journal, &notices);
    executor.sellResults = {1, -2, -2, 1, 0};
    executor.errorText = L"券商软件没有响应";
    EXPECT_EQ(run.statusText(), L"全平: 正在读取持仓 ...");
    EXPECT_TRUE(run.step(executor));
    EXPECT_TRUE(run.step(executor));
    EXPECT_EQ(run.statusText(), L"全平: 2/3 正在卖出 000001 平安银行 ...");
    for (int step = 0; step < 10 && run.step(executor);) ++step;
    EXPECT_EQ(log, (CallLog{"refresh", "sell 600000 1000 9.500 0.0", "sell 000001 300 9.000 0.0",
                            "sell 000001 300 9.000 0.0", "sell 000001 300 9.000 0.0",
                            "sell 000858 200 142.500 0.0"}));
    EXPECT_EQ(
        run.summaryText(),
        L"全平结束: 1 笔已提交, 3 笔没有卖出\n\n已提交 (成交请在券商软件中查看):\n600000 浦发银行 1000股\n\n"
        L"没有卖出:\n600519 贵州茅台: 当前价无法读取\n000001 平安银行 300股: 被券商拒绝: 委托失败: "
        L"可用数量不足\n"
        L"000858 五粮液 200股: 券商软件没有响应");
    const std::wstring text = journalText(journal);
    EXPECT_EQ(count(text, L"结果 -2"), 0u) << "held back by the spacing: tried again, not journalled";
    EXPECT_EQ(count(text, L"卖出 000001 平安银行 被券商拒绝"), 1u);
    // No read comes: nothing is sold from the old rows, and the run ends saying so.
    CloseAllRun unread(*PositionSnapshotStore::instance(), &journal, nullptr);
    int steps = 1;
    while (unread.step(executor)) ++steps;
    EXPECT_EQ(steps, ReadAfterPress::kMostSteps);
    EXPECT_EQ(unread.summaryText(), L"全平: 读不到券商软件的持仓列表, 没有卖出任何股票");

    // 全撤: the sell orders of a read after the press; a cancel the executor did not see done is not.
    OrderRow sale = position(L"000001", L"平安银行", 300, 0, 0),
             other = position(L"600000", L"浦发银行", 1000, 0, 0);
    sale.direction = other.direction = kSellDirection;
    PositionSnapshotStore::instance()->replaceOrders({sale});
    executor.nextOrderReads = {{sale, position(L"600036", L"招商银行", 100, 0, 0), other}};
    executor.cancelResults = {true, false};
    log.clear();
    CancelAllRun cancel(*PositionSnapshotStore::instance(), &journal, nullptr);
    while (cancel.step(executor)) {
    }
    EXPECT_EQ(log, (CallLog{"pending  1", "cancel 000001 1", "cancel 600000 1"}));
    EXPECT_EQ(cancel.summaryText(),
              L"全撤结束: 1 笔已撤, 1 笔没有撤销\n\n已撤:\n000001 平安银行 300股\n\n"
              L"没有撤销 (请在券商软件中查看):\n600000 浦发银行 1000股");
}

}  // namespace

namespace {

TEST(ColumnCheck, NamesTheOwnColumnsTheRulesNeedAndTheConfigurationLacks) {
    StockRule byPrice = percentStopLoss(L"600000", 8.0f);
    byPrice.StopLossType = 1;
    RuleTable priceRules{{L"600000", byPrice}};
    RuleTable percentRules{{L"600000", percentStopLoss(L"600000", 5)}};
    const struct {
        StringList ownNames;
        const RuleTable* rules;
        std::vector<std::wstring> missing;
    } cases[] = {
        {{L"证券代码", L"股票", L"当前价", L"盈亏%"}, &percentRules, {}},
        {{L"证券代码", L"股票", L"当前价"}, &priceRules, {}},
        {{L"证券代码", L"股票", L"当前价"}, &percentRules, {L"盈亏%"}},
        {{L"股票", L"", L"盈亏%"}, &percentRules, {L"证券代码", L"当前价"}},
    };
    for (const auto& c : cases) {
        BrokerConfig config(L"测试", L"证券");
        config.setPositionColumns(StringList(c.ownNames.size(), L"列"), c.ownNames);
        EXPECT_EQ(missingRuleColumns(config, *c.rules), c.missing);
    }
    EXPECT_EQ(missingColumnsText({L"证券代码", L"当前价"}),
              L"券商配置缺少列 证券代码, 当前价: 需要它们的规则不会触发");
    EXPECT_EQ(missingColumnsText({}), L"");
}

}  // namespace
