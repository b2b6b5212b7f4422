#pragma once
// The broker configuration of the simulated client's default layout, made current in a store
// of its own, and a fresh executor over it; both are torn down with the session.
#include <memory>
#include <string>

#include "broker/position_snapshot_store.h"
#include "broker/zszq_order_executor.h"
#include "brokerconfig/broker_config_store.h"
#include "brokerconfig/column_names.h"
#include "support/temp_folder.h"

// Toolbar buttons are 60 px wide from x = offset: 买入, 卖出, 撤单, 持仓; clicks go to y 20.
// The orders page's 撤单 button is pressed at (10, 10) inside it.
inline std::unique_ptr<BrokerConfig> simBrokerConfig(const std::wstring& windowName, int toolbarOffset = 0) {
    auto config = std::make_unique<BrokerConfig>(L"模拟证券", windowName);
    config->setButtonPositions({{L"买入按钮", toolbarOffset + 30, 20},
                                {L"卖出按钮", toolbarOffset + 90, 20},
                                {L"撤单按钮", toolbarOffset + 150, 20},
                                {L"撤单按钮2", 10, 10},
                                {L"持仓按钮", toolbarOffset + 210, 20}});
    const StringList positions{L"证券代码", L"证券名称", L"证券数量",    L"可卖数量", L"成本价",    L"当前价",
                               L"最新市值", L"浮动盈亏", L"盈亏比例(%)", L"股东代码", L"交易所名称"};
    const StringList orders{L"证券代码", L"证券名称", L"买卖标志", L"委托价格",
                            L"委托数量", L"成交数量", L"委托时间", L"合同编号"};
    config->setPositionColumns(positions, mapPositionTitles(positions));
    config->setCommitColumns(orders, mapCommitTitles(orders));
    return config;
}

class ExecutorSession {
public:
    // Without a configuration the store stays empty (no current configuration).
    explicit ExecutorSession(std::unique_ptr<BrokerConfig> config) {
        BrokerConfigStore::setFolder(folder_.folder());
        BrokerConfigStore* store = BrokerConfigStore::instance();
        if (config) store->current = store->add(std::move(config));
        PositionSnapshotStore::instance()->clear();
    }
    ~ExecutorSession() {
        ZsZqOrderExecutor::destroyInstance();
        BrokerConfigStore::destroyInstance();
        PositionSnapshotStore::destroyInstance();
    }
    ExecutorSession(const ExecutorSession&) = delete;
    ExecutorSession& operator=(const ExecutorSession&) = delete;

    ZsZqOrderExecutor* executor() const { return ZsZqOrderExecutor::instance(); }
    BrokerConfig* config() const { return BrokerConfigStore::instance()->current; }
    const TempFolder& folder() const { return folder_; }

private:
    TempFolder folder_;
};
