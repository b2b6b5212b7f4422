#include "e2e/scenario.h"

#include <cstdio>
#include <cstdlib>
#include <string>

#include "common/file_store.h"
#include "common/text_encoding.h"
#include "e2e/screen_capture.h"
#include "rules/rule_file.h"

namespace e2e {

const char kPortfolio[] =
    "position 600000 浦发银行 10000 10000 8.50 8.88\n"
    "close 600000 8.80\n"
    "position 000001 平安银行 5000 5000 11.20 11.30\n"
    "close 000001 11.25\n";

StockRule stopLossRule(const wchar_t* code, float stopLoss, int type, int slip) {
    StockRule rule;
    rule.Code = code;
    rule.StopLoss = stopLoss;
    rule.StopLossType = type;
    rule.SlipPrice = slip;
    return rule;
}

double priceOf(const ClientEvent& order) {
    return std::stod("0" + order.field("price"));
}

void Scenario::TearDown() {
    if (HasFailure()) {
        // What the client and the program recorded, to tell why.
        if (client) {
            for (const ClientEvent& event : client->events()) {
                if (event.event.rfind("order_", 0) == 0 || event.event.rfind("popup", 0) == 0 ||
                    event.event == "command")
                    std::fprintf(stderr, "client: %s\n", event.line.c_str());
            }
        }
        std::fprintf(stderr, "halyard journal:\n%s\n", ::halyard::toUtf8(halyardJournal()).c_str());
    }
    if (halyard) {
        EXPECT_TRUE(halyard->close()) << "Halyard did not close";
        halyard.reset();
    }
    client.reset();
}

void Scenario::startClient(const std::string& scenario, const std::wstring& arguments) {
    client = std::make_unique<ClientRun>(clientFolder_.folder(), scenario, arguments);
    ASSERT_TRUE(client->running());
    ASSERT_TRUE(client->waitForEvents("started", 1, 10000));
}

void Scenario::startHalyard(const RuleTable& rules, int hour, int minute, int second, int traceOrder,
                            int neverFoundValidBroker, bool brokerFile) {
    ASSERT_TRUE(prepareProgramFolder(program_.folder(), rules));
    if (!brokerFile) {
        ASSERT_EQ(_wremove((program_.folder() + L"broker_config.xml").c_str()), 0);
    }
    if (beforeHalyardStarts) beforeHalyardStarts(program_.folder());
    writeMonitorSettings(3, traceOrder, neverFoundValidBroker);
    timeZone_ = timeZoneForLocalTime(hour, minute, second);
    const int expected = hour * 3600 + minute * 60 + second;
    ASSERT_LE(std::abs(localNow() - expected), 2) << "TZ " << ::halyard::toUtf8(timeZone_) << " not honoured";
    halyard = std::make_unique<HalyardProcess>(program_.folder(), timeZone_);
    ASSERT_TRUE(halyard->started());
}

void Scenario::expectMainWindow() {
    mainWindow = halyard->waitForMainWindow();
    ASSERT_NE(mainWindow, nullptr);
    HWND box = findMessageBox(halyard->processId());
    ASSERT_EQ(box, nullptr) << ::halyard::toUtf8(messageBoxText(box));
}

std::vector<ClientEvent> Scenario::sellOrders() const {
    std::vector<ClientEvent> sells;
    for (ClientEvent& order : client->events("order_submitted")) {
        if (order.field("side") == "sell") sells.push_back(std::move(order));
    }
    return sells;
}

std::vector<ClientEvent> Scenario::sellOrdersOf(const std::string& code) const {
    std::vector<ClientEvent> sells;
    for (ClientEvent& order : sellOrders()) {
        if (order.field("code") == code) sells.push_back(std::move(order));
    }
    return sells;
}

bool Scenario::waitForSellOrders(size_t wanted, DWORD timeoutMs) {
    const DWORD start = GetTickCount();
    while (sellOrders().size() < wanted) {
        if (GetTickCount() - start >= timeoutMs) return false;
        Sleep(100);
    }
    return true;
}

void Scenario::waitUntilLocal(int secondsSinceMidnight) {
    while (localNow() < secondsSinceMidnight) Sleep(200);
}

std::wstring Scenario::halyardJournal() const {
    return ::halyard::fromUtf8(readSharedFile(program_.folder() + L"Halyard_journal.txt"));
}

size_t Scenario::count(const std::wstring& text, const std::wstring& part) {
    size_t found = 0;
    for (size_t at = text.find(part); at != std::wstring::npos; at = text.find(part, at + part.size()))
        ++found;
    return found;
}

RuleTable Scenario::rulesOnDisk() const {
    return loadRules(program_.folder());
}

void Scenario::screenshot(const std::string& name) const {
    Sleep(1000);  // let the windows that just changed repaint
    const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
    const std::string file = std::string(E2E_SCREENSHOT_DIR) + "/" + test->name() + "-" + name + ".bmp";
    EXPECT_TRUE(saveScreenAsBmp(windowsPath(file))) << "screenshot " << file;
    // Halyard's own windows alone, for the help document.
    RECT bounds;
    if (halyard && processWindowsBounds(halyard->processId(), bounds)) {
        const std::string part = file.substr(0, file.size() - 4) + "-halyard.bmp";
        EXPECT_TRUE(saveScreenAsBmp(windowsPath(part), &bounds)) << "screenshot " << part;
    }
}

}  // namespace e2e
