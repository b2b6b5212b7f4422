#pragma once
// An executor that records what the monitor asks of it, in one call log shared with the fake
// environment, so tests see the order of orders and alerts.
#include <cstdio>
#include <deque>
#include <map>
#include <string>
#include <vector>

#include "broker/order_executor.h"
#include "broker/position_snapshot_store.h"
#include "brokerconfig/broker_detection.h"

using CallLog = std::vector<std::string>;

class FakeExecutor : public OrderExecutor, public BrokerDetection {
public:
    explicit FakeExecutor(CallLog& log) : log_(log) {}

    std::map<std::wstring, float> pendingSells;  // code -> pending sell quantity
    std::deque<int32_t> sellResults;             // answered in turn; 1 once they run out
    // Applied to the snapshot store by the next refreshPositions, as a re-read of the client.
    std::vector<PositionRows> nextReads;
    // Stored as the orders list by the next pendingOrderQuantity, as a re-read of the client.
    std::vector<OrderRows> nextOrderReads;
    std::deque<bool> cancelResults;  // answered in turn; cancelResult once they run out
    // Start-up check of the main window.
    WindowHandle clientWindow = nullptr;
    int connectResult = 1;
    int autoConfigureResult = 0;
    const wchar_t* errorTextAfterDetection = nullptr;
    int connected = 1;  // isConnected; a successful connect sets it
    bool cancelResult = true;
    int ordersList = 1;
    const wchar_t* errorText = L"成功";
    bool detecting = false;  // detectionRunning

    int32_t sell(const wchar_t* code, int32_t quantity, float price, float priceOffset) override {
        char text[160];
        std::snprintf(text, sizeof text, "sell %ls %d %.3f %.1f", code, quantity, price, priceOffset);
        log_.push_back(text);
        if (sellResults.empty()) return 1;
        int32_t result = sellResults.front();
        sellResults.pop_front();
        return result;
    }
    float pendingOrderQuantity(const wchar_t* code, int32_t direction) override {
        log_.push_back("pending " + narrow(code) + " " + std::to_string(direction));
        if (!nextOrderReads.empty()) {
            PositionSnapshotStore::instance()->replaceOrders(nextOrderReads.front());
            nextOrderReads.erase(nextOrderReads.begin());
        }
        auto found = pendingSells.find(code);
        return found == pendingSells.end() ? 0.0f : found->second;
    }
    bool cancelOrder(const wchar_t* code, int32_t direction) override {
        log_.push_back("cancel " + narrow(code) + " " + std::to_string(direction));
        const bool result = cancelResults.empty() ? cancelResult : cancelResults.front();
        if (!cancelResults.empty()) cancelResults.pop_front();
        if (!result) return false;
        pendingSells.erase(code);
        return true;
    }
    void refreshPositions() override {
        log_.push_back("refresh");
        if (nextReads.empty()) return;
        PositionsByCode byCode;
        for (const PositionRow& row : nextReads.front()) byCode[row.code] = row;
        PositionSnapshotStore::instance()->replacePositions(byCode, nextReads.front());
        nextReads.erase(nextReads.begin());
    }

    int connect() override {
        log_.push_back("connect");
        if (connectResult) connected = 1;
        return connectResult;
    }
    const wchar_t* lastErrorText() override { return errorText; }
    int32_t buy(const wchar_t*, int32_t, float, float) override { return notExpected("buy"); }
    float positionCostPrice(const wchar_t*) override { return notExpected("positionCostPrice"); }
    float positionProfitPercent(const wchar_t*) override { return notExpected("positionProfitPercent"); }
    float hasPosition(const wchar_t*) override { return notExpected("hasPosition"); }
    float positionQuantity(const wchar_t*) override { return notExpected("positionQuantity"); }
    float positionMarketValue(const wchar_t*) override { return notExpected("positionMarketValue"); }
    float positionSpareValue(const wchar_t*) override { return notExpected("positionSpareValue"); }
    float positionSellableQuantity(const wchar_t*) override {
        return notExpected("positionSellableQuantity");
    }
    int detectBroker() override { return notExpected("detectBroker"); }
    int isConnected() override { return connected; }
    int sendFetionSms(const wchar_t*, const wchar_t*) override { return notExpected("sendFetionSms"); }
    int sendQqMessage(const wchar_t*, const wchar_t*) override { return notExpected("sendQqMessage"); }
    int autoConfigure() override {
        log_.push_back("autoConfigure");
        if (errorTextAfterDetection) errorText = errorTextAfterDetection;
        return autoConfigureResult;
    }
    int hasOrdersList() override { return ordersList; }
    unsigned learntPages() const override { return 0; }
    bool detectionRunning() const override { return detecting; }
    WindowHandle findClientMainWindow() override { return clientWindow; }

    static std::string narrow(const std::wstring& text) {
        std::string out;
        for (wchar_t c : text) out += c < 0x80 ? static_cast<char>(c) : '?';
        return out;
    }

private:
    int notExpected(const char* what) {
        log_.push_back(std::string("unexpected ") + what);
        return 0;
    }
    CallLog& log_;
};
