// Trigger-to-order latency: from a price step in the simulated client to Halyard's sell order
// in the client's journal, both stamped by the client's clock. Monitor interval 3 s.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "e2e/client_run.h"
#include "e2e/halyard_process.h"
#include "support/temp_folder.h"

namespace {

constexpr int kSamples = 12;
constexpr int kIntervalMs = 3000;
// One interval plus the fixed waits between the tick and the order button: the positions
// page, the orders page (pending check) and the sell page, 500 ms each.
constexpr int kBoundMs = kIntervalMs + 500 + 500 + 500;

long long lastTime(const std::vector<ClientEvent>& events) {
    return events.empty() ? -1 : std::stoll(events.back().field("t"));
}

}  // namespace

int main() {
    TempFolder programFolder;
    TempFolder clientFolder;
    RuleTable rules;
    StockRule rule;
    rule.Code = L"600000";
    rule.StopLoss = 5;
    rules[rule.Code] = rule;
    if (!e2e::prepareProgramFolder(programFolder.folder(), rules)) {
        std::printf("latency: cannot prepare the program folder\n");
        return 1;
    }
    e2e::writeMonitorSettings(kIntervalMs / 1000, 1, 0);
    ClientRun client(clientFolder.folder(),
                     "position 600000 浦发银行 10000 10000 8.50 8.88\nclose 600000 8.80\n");
    if (!client.running()) {
        std::printf("latency: the simulated client did not start\n");
        return 1;
    }
    e2e::HalyardProcess halyard(programFolder.folder(), e2e::timeZoneForLocalTime(10, 0, 0));
    if (!halyard.waitForMainWindow() || e2e::findMessageBox(halyard.processId())) {
        std::printf("latency: Halyard did not start connected\n");
        return 1;
    }

    std::vector<long long> samples;
    for (int i = 0; i < kSamples + 4 && static_cast<int>(samples.size()) < kSamples; ++i) {
        // Back above the stop, nothing pending; then wait a varying part of an interval so the
        // step falls at every phase of the timer.
        client.send(L"remove 600000");
        client.send(L"position 600000 浦发银行 10000 10000 8.50 8.88");
        Sleep(4000 + static_cast<DWORD>(i * 997 % kIntervalMs));
        const size_t ordersBefore = client.events("order_submitted").size();
        const size_t commandsBefore = client.events("command").size();
        if (!client.send(L"price 600000 8.00")) continue;
        if (!client.waitForEvents("order_submitted", ordersBefore + 1, 20000)) continue;
        long long stepped = -1;
        const auto commands = client.events("command");
        for (size_t c = commandsBefore; c < commands.size(); ++c) {
            if (commands[c].field("text").rfind("price 600000", 0) == 0)
                stepped = std::stoll(commands[c].field("t"));
        }
        const long long ordered = lastTime(client.events("order_submitted"));
        if (stepped >= 0 && ordered >= stepped) samples.push_back(ordered - stepped);
        client.waitForEvents("order_accepted", 1, 10000);
        Sleep(2500);  // the sale's own confirmation wait
    }
    if (samples.empty()) {
        std::printf("latency: no sample\n");
        return 1;
    }
    std::sort(samples.begin(), samples.end());
    const long long median = samples[samples.size() / 2];
    const long long p95 = samples[std::min(samples.size() - 1, (samples.size() * 95 + 99) / 100 - 1)];
    std::printf(
        "latency: trigger to sell order, %zu samples, interval %d ms: median %lld ms, p95 %lld ms, "
        "min %lld ms, max %lld ms; bound %d ms (interval + positions, orders and sell page waits)\n",
        samples.size(), kIntervalMs, median, p95, samples.front(), samples.back(), kBoundMs);
    return 0;
}
