#include "probe/configured_reading.h"

#include <cwchar>
#include <vector>

#include "broker/broker_tables.h"
#include "broker/remote_list_reader.h"
#include "broker/window_toolkit.h"
#include "brokerconfig/broker_config_file.h"
#include "common/file_store.h"
#include "probe/client_report.h"

namespace halyard::probe {
namespace {

const BrokerConfig* selectedConfig(const BrokerConfigFile& file) {
    for (const auto& config : file.brokers)
        if (config->name == file.selectedName) return config.get();
    return file.brokers.empty() ? nullptr : file.brokers.front().get();
}

std::wstring positionText(const PositionRow& row) {
    wchar_t numbers[256];
    std::swprintf(numbers, 256, L" 数量=%d 可卖数量=%d 成本价=%g 当前价=%g 市值=%g 盈亏=%g 盈亏%%=%g",
                  row.quantity, row.sellableQuantity, row.costPrice, row.currentPrice, row.marketValue,
                  row.profit, row.profitPercent);
    return L"证券代码=" + quoted(row.code) + L" 股票=" + quoted(row.name) + numbers;
}

std::wstring orderText(const PositionRow& row) {
    return L"证券代码=" + quoted(row.code) + L" 买卖标志=" + (row.direction == 0 ? L"买入" : L"卖出") +
           L" 委托数量=" + std::to_wstring(row.quantity);
}

template <typename Read, typename Text>
void writeTable(ProbeReport& report, HWND client, const std::wstring& kind, const StringList& titles,
                const Read& read, const Text& text) {
    HWND matching = nullptr;
    for (HWND list : findDescendants(client, L"SysListView32")) {
        if (readColumnTitles(list) == titles) {
            matching = list;
            break;
        }
    }
    if (!matching) {
        report.line(kind + L": 没有列表的列标题和配置完全一致, Halyard 认不出这个页面 (配置的列标题: " +
                        joined(titles) + L")",
                    1);
        return;
    }
    const PositionRows rows = read(matching);
    report.line(kind + L": 列标题和配置一致, 读出 " + std::to_wstring(rows.size()) + L" 行", 1);
    for (size_t i = 0; i < rows.size() && i < static_cast<size_t>(kSampleRows); ++i)
        report.line(L"第 " + std::to_wstring(i + 1) + L" 行: " + text(rows[i]), 2);
}

}  // namespace

void writeConfiguredReading(ProbeReport& report, HWND client, const std::wstring& configPath) {
    report.heading(L"按 broker_config.xml 读取 (Halyard 监控时的读法)");
    std::string bytes;
    BrokerConfigFile file;
    if (!readWholeFile(configPath, bytes) || !parseBrokerConfigFile(bytes, file) || !selectedConfig(file)) {
        report.line(L"本程序旁边没有可用的 broker_config.xml: " + configPath, 1);
        return;
    }
    const BrokerConfig& config = *selectedConfig(file);
    report.line(
        L"配置 " + quoted(config.name) + L", 券商窗口名称 " + quoted(config.windowName) +
            (windowText(client).find(config.windowName) != std::wstring::npos ? L" (与这个窗口的标题相符)"
                                                                              : L" (与这个窗口的标题不符)"),
        1);
    writeTable(
        report, client, L"持仓", config.positionTitles(),
        [&](HWND list) { return readPositionRows(list, config).value_or(PositionRows()); }, positionText);
    writeTable(
        report, client, L"委托", config.commitTitles(),
        [&](HWND list) { return readOrderRows(list, config).value_or(PositionRows()); }, orderText);
}

}  // namespace halyard::probe
