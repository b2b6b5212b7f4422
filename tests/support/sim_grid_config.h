#pragma once
// The configuration Halyard learns of the simulated grid client: its tree paths and its grids'
// column titles, so a test or a benchmark can drive that client without a detection first.
#include <memory>
#include <string>

#include "brokerconfig/broker_config.h"
#include "brokerconfig/column_names.h"

inline std::unique_ptr<BrokerConfig> simGridConfig(const std::wstring& title) {
    auto config = std::make_unique<BrokerConfig>(L"模拟网格", title);
    config->family = ClientFamily::Grid;
    config->grid.setPagePath(GridPage::Buy, {L"买入"});
    config->grid.setPagePath(GridPage::Sell, {L"卖出[F2]"});
    config->grid.setPagePath(GridPage::Cancel, {L"撤单"});
    config->grid.setPagePath(GridPage::Positions, {L"查询", L"资金股票"});
    config->grid.setPagePath(GridPage::Orders, {L"查询[F4]", L"当日委托"});
    const StringList positions{L"证券代码", L"证券名称", L"股票余额", L"可用余额",    L"冻结数量",
                               L"成本价",   L"市价",     L"盈亏",     L"盈亏比例(%)", L"市值"};
    const StringList orders{L"委托时间", L"证券代码", L"证券名称", L"操作", L"委托数量",
                            L"成交数量", L"委托价格", L"合同编号", L"备注"};
    config->setPositionColumns(positions, mapGridPositionTitles(positions));
    config->setCommitColumns(orders, mapGridOrderTitles(orders));
    return config;
}
