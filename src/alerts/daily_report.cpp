#include "alerts/daily_report.h"

#include "common/c_format.h"

namespace {

int dayOf(const std::tm& time) {
    return (time.tm_year + 1900) * 1000 + time.tm_yday;
}

int minuteOf(const std::tm& time) {
    return time.tm_hour * 60 + time.tm_min;
}

bool isTradingDay(const std::tm& time) {
    return time.tm_wday >= 1 && time.tm_wday <= 5;
}

}  // namespace

void DailyReport::turnDay(const std::tm& now) {
    if (dayOf(now) == day_) return;
    day_ = dayOf(now);
    counts_ = DayCounts();
    readySent_ = summarySent_ = ranBeforeClose_ = false;
}

void DailyReport::count(MonitorEvent event, const std::tm& now) {
    turnDay(now);
    switch (event) {
        case MonitorEvent::Trigger:
            ++counts_.triggers;
            break;
        case MonitorEvent::SaleSubmitted:
            ++counts_.salesSubmitted;
            break;
        case MonitorEvent::SaleNotSubmitted:
            ++counts_.salesNotSubmitted;
            break;
        case MonitorEvent::SaleConfirmed:
            ++counts_.salesConfirmed;
            break;
        case MonitorEvent::SaleUnconfirmed:
            ++counts_.salesUnconfirmed;
            break;
        case MonitorEvent::ContactLost:
            ++counts_.contactLosses;
            break;
    }
}

std::wstring DailyReport::due(const std::tm& now, const ReadyState& state) {
    turnDay(now);
    if (!isTradingDay(now)) return std::wstring();
    const int minute = minuteOf(now);
    if (minute < kSummaryMinute) ranBeforeClose_ = true;
    if (minute >= kReadyMinute && minute < kSummaryMinute && !readySent_) {
        readySent_ = true;
        return readyText(state);
    }
    if (minute >= kSummaryMinute && ranBeforeClose_ && !summarySent_) {
        summarySent_ = true;
        return summaryText(counts_);
    }
    return std::wstring();
}

std::wstring readyText(const ReadyState& state) {
    if (state.monitoring && state.connected && state.ruleCount > 0)
        return L"Halyard 已就绪: 已连接 " + state.brokerName + L", 监控 " +
               halyard::wcformat("%d", static_cast<int>(state.ruleCount)) + L" 只股票";
    std::wstring wrong;
    auto add = [&wrong](const std::wstring& what) { wrong += (wrong.empty() ? L"" : L", ") + what; };
    if (!state.monitoring) add(L"监控已停止");
    if (!state.connected)
        add(L"未连接券商" + (state.connectionError.empty() ? L"" : L" (" + state.connectionError + L")"));
    if (state.ruleCount == 0) add(L"没有止损规则");
    return L"Halyard 未就绪: " + wrong;
}

std::wstring summaryText(const DayCounts& counts) {
    auto number = [](int value) { return halyard::wcformat("%d", value); };
    return L"Halyard 今日运行报告: 触发 " + number(counts.triggers) + L" 次, 卖出已提交 " +
           number(counts.salesSubmitted) + L" 笔 (已确认 " + number(counts.salesConfirmed) + L", 未确认 " +
           number(counts.salesUnconfirmed) + L"), 未能提交 " + number(counts.salesNotSubmitted) +
           L" 笔, 与券商失去连接 " + number(counts.contactLosses) + L" 次";
}
