// The daily report's schedule over a fake clock: what is due when, once a trading day, and the
// day's counts.
#include "alerts/daily_report.h"

#include <gtest/gtest.h>

#include "common/text_encoding.h"

namespace {

// 2026-12-07 is a Monday.
std::tm at(int day, int hour, int minute) {
    std::tm t{};
    t.tm_year = 126;
    t.tm_mon = 11;
    t.tm_mday = 7 + day;
    t.tm_yday = 340 + day;
    t.tm_wday = (1 + day) % 7;
    t.tm_hour = hour;
    t.tm_min = minute;
    return t;
}

TEST(DailyReport, OneReadyMessageAndOneSummaryEachTradingDayWithTheDaysCounts) {
    const ReadyState ready{true, true, L"模拟券商", L"", 3};
    const ReadyState wrong{false, false, L"", L"找不到券商软件主窗口", 0};
    const std::wstring readyText = L"Halyard 已就绪: 已连接 模拟券商, 监控 3 只股票";
    const std::wstring quietDay =
        L"Halyard 今日运行报告: 触发 0 次, 卖出已提交 0 笔 (已确认 0, 未确认 0), 未能提交 0 笔, "
        L"与券商失去连接 0 次";

    DailyReport report;
    // Monday's events, then Tuesday's, which must not carry Monday's counts.
    for (MonitorEvent event :
         {MonitorEvent::Trigger, MonitorEvent::SaleSubmitted, MonitorEvent::Trigger,
          MonitorEvent::SaleSubmitted, MonitorEvent::SaleConfirmed, MonitorEvent::SaleUnconfirmed,
          MonitorEvent::Trigger, MonitorEvent::SaleNotSubmitted, MonitorEvent::ContactLost})
        report.count(event, at(0, 10, 30));
    const struct {
        int day, hour, minute;
        const ReadyState& state;
        std::wstring due;
    } ticks[] = {
        {0, 9, 19, ready, L""},
        {0, 9, 20, ready, readyText},
        {0, 9, 21, wrong, L""},  // once a day
        {0, 15, 4, ready, L""},
        {0, 15, 5, wrong,
         L"Halyard 今日运行报告: 触发 3 次, 卖出已提交 2 笔 (已确认 1, 未确认 1), 未能提交 1 笔, "
         L"与券商失去连接 1 次"},
        {0, 15, 30, ready, L""},
        {1, 9, 25, wrong, L"Halyard 未就绪: 监控已停止, 未连接券商 (找不到券商软件主窗口), 没有止损规则"},
        {1, 16, 0, ready, quietDay},
        {2, 15, 30, ready, L""},        // started after the close: nothing ran that day
        {3, 13, 40, ready, readyText},  // a late start still says so
        {5, 9, 20, ready, L""},         // Saturday
    };
    for (const auto& tick : ticks)
        EXPECT_EQ(report.due(at(tick.day, tick.hour, tick.minute), tick.state), tick.due)
            << tick.day << " " << tick.hour << ":" << tick.minute;
}

}  // namespace
