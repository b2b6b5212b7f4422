#pragma once
// Common steps of the end-to-end scenarios: a simulated client with a portfolio, Halyard.exe
// with prepared rules and settings at a chosen local time, the journals and screenshots.
#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "e2e/client_run.h"
#include "e2e/halyard_process.h"
#include "rules/stock_rule.h"
#include "support/temp_folder.h"

namespace e2e {

// The portfolio most scenarios start from (the simulated client's scenario syntax).
extern const char kPortfolio[];

StockRule stopLossRule(const wchar_t* code, float stopLoss, int type = 0, int slip = 0);

class Scenario : public ::testing::Test {
protected:
    void TearDown() override;

    void startClient(const std::string& scenario, const std::wstring& arguments = L"");
    // Without `brokerFile` the program folder holds no broker_config.xml.
    void startHalyard(const RuleTable& rules, int hour, int minute, int second, int traceOrder = 1,
                      int neverFoundValidBroker = 0, bool brokerFile = true);
    // The main window, with no start-up message in the way.
    void expectMainWindow();

    std::vector<ClientEvent> sellOrders() const;
    std::vector<ClientEvent> sellOrdersOf(const std::string& code) const;
    bool waitForSellOrders(size_t count, DWORD timeoutMs = 30000);
    // Seconds since local midnight as Halyard sees the clock.
    int localNow() const { return localSecondsUnder(timeZone_); }
    void waitUntilLocal(int secondsSinceMidnight);

    std::wstring programFolder() const { return program_.folder(); }
    std::wstring halyardJournal() const;
    static size_t count(const std::wstring& text, const std::wstring& part);
    RuleTable rulesOnDisk() const;
    // Saves the display under the build folder's e2e-screenshots as <test name>-<name>.png, and
    // Halyard's windows alone as <test name>-<name>-halyard.png.
    void screenshot(const std::string& name) const;

    // Run on the program folder after it is prepared and before Halyard starts (a changed file).
    std::function<void(const std::wstring& folder)> beforeHalyardStarts;

    std::unique_ptr<ClientRun> client;
    std::unique_ptr<HalyardProcess> halyard;
    HWND mainWindow = nullptr;

private:
    TempFolder program_;
    TempFolder clientFolder_;
    std::wstring timeZone_;
};

double priceOf(const ClientEvent& order);

}  // namespace e2e
