// Reads the simulated client's positions list of 50, 200 and 500 rows, from a 64-bit and a
// 32-bit client, and compares the cost per cell with one bare cross-process message.
#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <utility>
#include <vector>

#include "broker/broker_tables.h"
#include "broker/panel_recognition.h"
#include "broker/sim_broker.h"
#include "broker/sim_orders.h"
#include "broker/window_toolkit.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kCellsPerRow = 9;  // the own names a positions read asks for

double microsecondsSince(Clock::time_point start) {
    return std::chrono::duration<double, std::micro>(Clock::now() - start).count();
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

HWND positionsListOf(const SimClientProcess& client, const BrokerConfig& config) {
    for (HWND list : findDescendants(client.mainWindow(), L"SysListView32"))
        if (listHasExactColumns(GetParent(list), config.positionTitles())) return list;
    return nullptr;
}

bool measure(SimClientProcess::Bits clientBits, int bits, int rows) {
    const std::wstring title =
        L"模拟证券交易系统 测速 " + std::to_wstring(bits) + L"-" + std::to_wstring(rows);
    SimClientProcess client({L"--title", title}, clientBits);
    if (!client.started()) return false;
    for (const wchar_t* code : {L"600000", L"000001", L"600519"})
        client.send(std::wstring(L"remove ") + code);
    for (int i = 0; i < rows; ++i) {
        const int cents = 500 + i % 400;
        client.send(L"position " + std::to_wstring(300000 + i) + L" 测试股票" + std::to_wstring(i) + L" " +
                    std::to_wstring(100 * (1 + i % 50)) + L" 100 " + std::to_wstring(cents / 100) + L"." +
                    std::to_wstring(cents % 100 / 10) + std::to_wstring(cents % 10));
    }
    ExecutorSession session(simBrokerConfig(title));
    if (!session.executor()->connect()) return false;
    HWND list = positionsListOf(client, *session.config());
    if (!list) return false;

    const PositionRows warm = readPositionRows(list, *session.config()).value_or(PositionRows());
    if (static_cast<int>(warm.size()) != rows ||
        warm.back().name != L"测试股票" + std::to_wstring(rows - 1)) {
        std::printf("list_read rows=%d bits=%d: read %zu rows\n", rows, bits, warm.size());
        return false;
    }
    // Table reads and runs of as many bare messages alternate, so both see the same load.
    const int cells = rows * kCellsPerRow;
    const int repeats = std::max(5, std::min(20, 5000 / rows));
    std::vector<double> tableUs, floorUs;
    for (int i = 0; i < repeats; ++i) {
        Clock::time_point start = Clock::now();
        readPositionRows(list, *session.config());
        tableUs.push_back(microsecondsSince(start));
        start = Clock::now();
        for (int m = 0; m < cells; ++m) sendToWindow(list, LVM_GETITEMCOUNT, 0, 0);
        floorUs.push_back(microsecondsSince(start) / cells);
    }
    const double perTableUs = median(tableUs);
    const double perCellUs = perTableUs / cells;
    const double floor = median(floorUs);
    std::printf("list_read rows=%d bits=%d ms_per_table=%.2f us_per_cell=%.1f floor_us=%.1f ratio=%.2f\n",
                rows, bits, perTableUs / 1000, perCellUs, floor, perCellUs / floor);
    std::fflush(stdout);
    return true;
}

}  // namespace

int main() {
    bool ok = true;
    const std::pair<SimClientProcess::Bits, int> clients[] = {{SimClientProcess::Bits::Client64, 64},
                                                              {SimClientProcess::Bits::Client32, 32}};
    for (const auto& [clientBits, bits] : clients) {
        if (!SimClientProcess::available(clientBits)) continue;
        for (int rows : {50, 200, 500}) {
            if (!measure(clientBits, bits, rows)) {
                std::printf("list_read rows=%d bits=%d: failed\n", rows, bits);
                ok = false;
            }
        }
    }
    return ok ? 0 : 1;
}
