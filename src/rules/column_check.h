#pragma once
// Own columns the rules need that the current broker configuration maps to no column of the
// client's positions list: without 证券代码 no rule finds its stock, without 当前价 none fires,
// and without 盈亏% no rule by percent.
#include <string>
#include <vector>

#include "rules/stock_rule.h"

class BrokerConfig;

std::vector<std::wstring> missingRuleColumns(const BrokerConfig& config, const RuleTable& rules);
// "缺少列 证券代码, 当前价: 需要它们的规则不会触发", or empty when nothing is missing.
std::wstring missingColumnsText(const std::vector<std::wstring>& missing);
