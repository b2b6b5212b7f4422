// Trigger-to-order latency: from a price step in the simulated client to Halyard's sell order
// in the client's journal, both stamped by the client's clock. Monitor interval 3 s. For both
// client families; each sample sells a stock of its own, so no sale's aftermath (a frozen
// quantity, a copy of the grids still to come) changes the next one.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "brokerconfig/broker_config_file.h"
#include "common/file_store.h"
#include "common/text_encoding.h"
#include "e2e/client_run.h"
#include "e2e/halyard_process.h"
#include "support/sim_grid_config.h"
#include "support/temp_folder.h"

namespace {

constexpr int kSamples = 12;
constexpr int kStocks = kSamples + 4;
constexpr int kIntervalMs = 3000;
constexpr wchar_t kGridTitle[] = L"网上股票交易系统5.0";

struct Family {
    const char* name;
    std::wstring clientArguments;
    // What bounds a sample, printed beside the figures; empty when nothing fixed does.
    const char* bound;
    int boundMs;
};

// One interval plus the fixed waits between the tick and the order button: the positions page,
// the orders page (pending check) and the sell page, 500 ms each. The grid client runs without
// its copy captcha, so that no question interrupts the samples.
const Family kFamilies[] = {
    {"list-view", L"", "interval + positions, orders and sell page waits", kIntervalMs + 500 + 500 + 500},
    {"grid", std::wstring(L"--family grid --captcha-first 0 --captcha-every 0 --title ") + kGridTitle, "", 0},
};

std::wstring code(int stock) {
    return std::to_wstring(300000 + stock);
}

std::string scenario() {
    std::string text;
    for (int stock = 0; stock < kStocks; ++stock) {
        const std::string c = std::to_string(300000 + stock);
        text += "position " + c + " 测试股票" + std::to_string(stock) + " 10000 10000 8.50 8.88\nclose " + c +
                " 8.80\n";
    }
    return text;
}

bool prepare(const Family& family, const std::wstring& folder) {
    RuleTable rules;
    for (int stock = 0; stock < kStocks; ++stock) {
        StockRule rule;
        rule.Code = code(stock);
        rule.StopLoss = 5;
        rules[rule.Code] = rule;
    }
    if (!e2e::prepareProgramFolder(folder, rules)) return false;
    if (family.clientArguments.empty()) return true;
    BrokerConfigList brokers;
    brokers.push_back(simGridConfig(kGridTitle));
    const std::wstring name = brokers.front()->name;
    return halyard::replaceFileAtomically(folder + L"broker_config.xml",
                                          formatBrokerConfigFile(brokers, name));
}

long long lastTime(const std::vector<ClientEvent>& events) {
    return events.empty() ? -1 : std::stoll(events.back().field("t"));
}

bool measure(const Family& family) {
    TempFolder programFolder;
    TempFolder clientFolder;
    if (!prepare(family, programFolder.folder())) {
        std::printf("latency %s: cannot prepare the program folder\n", family.name);
        return false;
    }
    e2e::writeMonitorSettings(kIntervalMs / 1000, 1, 0);
    ClientRun client(clientFolder.folder(), scenario(), family.clientArguments);
    if (!client.running()) {
        std::printf("latency %s: the simulated client did not start\n", family.name);
        return false;
    }
    e2e::HalyardProcess halyard(programFolder.folder(), e2e::timeZoneForLocalTime(10, 0, 0));
    if (!halyard.waitForMainWindow() || e2e::findMessageBox(halyard.processId())) {
        std::printf("latency %s: Halyard did not start connected\n", family.name);
        return false;
    }

    std::vector<long long> samples;
    for (int stock = 0; stock < kStocks && static_cast<int>(samples.size()) < kSamples; ++stock) {
        // A varying part of an interval, so the step falls at every phase of the timer.
        Sleep(4000 + static_cast<DWORD>(stock * 997 % kIntervalMs));
        const size_t ordersBefore = client.events("order_submitted").size();
        const size_t acceptedBefore = client.events("order_accepted").size();
        const size_t commandsBefore = client.events("command").size();
        const std::wstring step = L"price " + code(stock) + L" 8.00";
        if (!client.send(step)) continue;
        if (!client.waitForEvents("order_submitted", ordersBefore + 1, 20000)) continue;
        long long stepped = -1;
        const auto commands = client.events("command");
        for (size_t c = commandsBefore; c < commands.size(); ++c) {
            if (halyard::fromUtf8(commands[c].field("text")) == step)
                stepped = std::stoll(commands[c].field("t"));
        }
        const long long ordered = lastTime(client.events("order_submitted"));
        if (stepped >= 0 && ordered >= stepped) samples.push_back(ordered - stepped);
        client.waitForEvents("order_accepted", acceptedBefore + 1, 10000);
        Sleep(2500);  // the sale's own confirmation wait
    }
    if (samples.empty()) {
        std::printf("latency %s: no sample\n", family.name);
        return false;
    }
    std::sort(samples.begin(), samples.end());
    const long long median = samples[samples.size() / 2];
    const long long p95 = samples[std::min(samples.size() - 1, (samples.size() * 95 + 99) / 100 - 1)];
    std::printf(
        "latency %s: trigger to sell order, %zu samples, interval %d ms: median %lld ms, p95 %lld ms, "
        "min %lld ms, max %lld ms",
        family.name, samples.size(), kIntervalMs, median, p95, samples.front(), samples.back());
    if (family.boundMs) std::printf("; bound %d ms (%s)", family.boundMs, family.bound);
    std::printf("\n");
    return true;
}

}  // namespace

int main() {
    bool ok = true;
    for (const Family& family : kFamilies) ok = measure(family) && ok;
    return ok ? 0 : 1;
}
