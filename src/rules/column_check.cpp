#include "rules/column_check.h"

#include "brokerconfig/broker_config.h"

namespace {

bool usesPercent(const StockRule& rule) {
    return (rule.StopLoss > 0.0f && rule.StopLossType == kPercentThreshold) ||
           (rule.Profit > 0.0f && rule.TakeProfitType == kPercentThreshold) ||
           (rule.ApplyMoveStopLoss && rule.MoveStopLoss > 0.0f && rule.MoveStopLossTriggerPrice > 0.0f);
}

}  // namespace

std::vector<std::wstring> missingRuleColumns(const BrokerConfig& config, const RuleTable& rules) {
    std::vector<std::wstring> wanted{L"证券代码", L"当前价"};
    for (const auto& entry : rules)
        if (usesPercent(entry.second)) {
            wanted.push_back(L"盈亏%");
            break;
        }
    std::vector<std::wstring> missing;
    for (const std::wstring& name : wanted)
        if (config.positionColumnIndex(name) < 0) missing.push_back(name);
    return missing;
}

std::wstring missingColumnsText(const std::vector<std::wstring>& missing) {
    if (missing.empty()) return {};
    std::wstring text = L"券商配置缺少列 ";
    for (size_t i = 0; i < missing.size(); ++i) text += (i ? L", " : L"") + missing[i];
    return text + L": 需要它们的规则不会触发";
}
