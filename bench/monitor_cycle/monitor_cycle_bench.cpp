// One monitor cycle as the main window runs it (positions read, every held stock's rule
// evaluated, nothing triggering), timed on this thread: wall time and the thread's CPU time;
// then the process's CPU use while it waits for the next cycle (the sweep worker only). For
// both client families: the list-view client, and the grid client whose prices come from its
// sell form between copies of its grids.
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

#include "app/app_settings.h"
#include "app/settings_profile.h"
#include "broker/sim_broker.h"
#include "broker/sim_orders.h"
#include "rules/monitor_cycle.h"
#include "support/sim_grid_config.h"

namespace {

using Clock = std::chrono::steady_clock;
constexpr int kCycles = 8;
constexpr DWORD kIntervalMs = 3100;  // past the read throttle, as a 3 s interval is

double milliseconds(const FILETIME& time) {
    ULARGE_INTEGER value;
    value.LowPart = time.dwLowDateTime;
    value.HighPart = time.dwHighDateTime;
    return static_cast<double>(value.QuadPart) / 10000.0;
}

double threadCpuMs() {
    FILETIME created, exited, kernel, user;
    GetThreadTimes(GetCurrentThread(), &created, &exited, &kernel, &user);
    return milliseconds(kernel) + milliseconds(user);
}

double processCpuMs() {
    FILETIME created, exited, kernel, user;
    GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
    return milliseconds(kernel) + milliseconds(user);
}

// Wine counts thread time in 10 ms steps: the mean over the cycles is the finer figure.
double mean(const std::vector<double>& values) {
    double sum = 0;
    for (double v : values) sum += v;
    return values.empty() ? 0 : sum / static_cast<double>(values.size());
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

class QuietEnvironment : public MonitorEnvironment {
public:
    QuietEnvironment() : settings_(profile_) {}
    const AppSettings& alertSettings() override { return settings_; }
    // Inside trading hours: the cycle evaluates and sells only then.
    std::tm localTime() override {
        std::tm at{};
        at.tm_hour = 10;
        return at;
    }
    void playAlertSound(const std::wstring&) override {}
    void raiseMessageAlert(const std::wstring&) override {}
    void positionsRead(std::size_t) override {}

private:
    DefaultsProfile profile_;
    AppSettings settings_;
};

struct Family {
    const char* name;
    std::vector<std::wstring> arguments;
    std::unique_ptr<BrokerConfig> (*config)(const std::wstring& title);
};

// The grid client without its copy captcha, so that no question interrupts the cycles.
const Family kFamilies[] = {
    {"list-view", {}, [](const std::wstring& title) { return simBrokerConfig(title); }},
    {"grid", {L"--family", L"grid", L"--captcha-first", L"0", L"--captcha-every", L"0"}, simGridConfig},
};

bool measure(const Family& family, int positions) {
    const std::wstring title = L"模拟证券交易系统 周期 " + std::to_wstring(positions);
    std::vector<std::wstring> arguments = family.arguments;
    arguments.insert(arguments.end(), {L"--title", title});
    SimClientProcess client(arguments);
    if (!client.started()) {
        std::printf("monitor_cycle %s positions=%d: the simulated client did not start\n", family.name,
                    positions);
        return false;
    }
    for (const wchar_t* code : {L"600000", L"000001", L"600519"})
        client.send(std::wstring(L"remove ") + code);
    RuleTable rules;
    for (int i = 0; i < positions; ++i) {
        const std::wstring code = std::to_wstring(300000 + i);
        client.send(L"position " + code + L" 测试股票" + std::to_wstring(i) + L" 1000 1000 10.00 10.05");
        StockRule rule;
        rule.Code = code;
        rule.StopLoss = 50;  // never reached: the cycle reads and evaluates, and sells nothing
        rule.High = 10.05f;
        rules[code] = rule;
    }
    ExecutorSession session(family.config(title));
    ZsZqOrderExecutor* executor = session.executor();
    if (!executor->connect()) {
        std::printf("monitor_cycle %s positions=%d: cannot connect (%ls)\n", family.name, positions,
                    executor->lastErrorText());
        return false;
    }
    QuietEnvironment environment;
    MonitorState state;

    std::vector<double> wall, cpu, idle;
    for (int cycle = 0; cycle < kCycles; ++cycle) {
        const double idleStart = processCpuMs();
        Sleep(kIntervalMs);
        idle.push_back((processCpuMs() - idleStart) / kIntervalMs * 100.0);
        const double cpuStart = threadCpuMs();
        const auto wallStart = Clock::now();
        MonitorCycle(*executor, *PositionSnapshotStore::instance(), environment, nullptr, &state, executor)
            .run(rules, false);
        wall.push_back(std::chrono::duration<double, std::milli>(Clock::now() - wallStart).count());
        cpu.push_back(threadCpuMs() - cpuStart);
        if (static_cast<int>(PositionSnapshotStore::instance()->copyPositionRows().size()) != positions) {
            std::printf("monitor_cycle %s positions=%d: read %zu rows\n", family.name, positions,
                        PositionSnapshotStore::instance()->copyPositionRows().size());
            return false;
        }
    }
    std::printf(
        "monitor_cycle %s positions=%d: wall %.1f ms (median of %d), UI-thread CPU %.1f ms per cycle (mean); "
        "idle CPU between cycles %.2f %% (mean)\n",
        family.name, positions, median(wall), kCycles, mean(cpu), mean(idle));
    return true;
}

}  // namespace

int main() {
    bool ok = true;
    for (int positions : {10, 100, 500}) ok = measure(kFamilies[0], positions) && ok;
    // Every grid cycle types each ruled stock into the sell form: fewer stocks, as investors rule.
    for (int positions : {10, 50}) ok = measure(kFamilies[1], positions) && ok;
    return ok ? 0 : 1;
}
