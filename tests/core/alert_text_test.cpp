#include <gtest/gtest.h>

#include "rules/trigger_evaluation.h"

namespace {

std::tm at(int year, int month, int day, int hour, int minute, int second) {
    std::tm time{};
    time.tm_year = year - 1900;
    time.tm_mon = month - 1;
    time.tm_mday = day;
    time.tm_hour = hour;
    time.tm_min = minute;
    time.tm_sec = second;
    return time;
}

}  // namespace

TEST(AlertText, SaleAndMessageOnly) {
    const std::tm when = at(2014, 3, 3, 10, 5, 3);
    EXPECT_EQ(alertText(L"平安银行", when, TriggerKind::StopLoss, false),
              L"平安银行 在 2014-03-03 10-05-03 满足止损条件 已经执行卖出操作");
    EXPECT_EQ(alertText(L"平安银行", when, TriggerKind::TakeProfit, true),
              L"平安银行 在 2014-03-03 10-05-03 满足止盈条件");
    EXPECT_EQ(alertText(L"", at(2026, 12, 31, 23, 59, 59), TriggerKind::TrailingStop, true),
              L" 在 2026-12-31 23-59-59 满足跟踪止损条件");
}

TEST(AlertText, DateOutOfRangeIsWrittenNotRefused) {
    std::tm odd = at(2014, 3, 3, 10, 5, 3);
    odd.tm_mon = 40;
    odd.tm_hour = -1;
    odd.tm_year = 2147483647;
    EXPECT_EQ(alertText(L"x", odd, TriggerKind::StopLoss, true),
              L"x 在 2147485547-41-03 -1-05-03 满足止损条件");
}
