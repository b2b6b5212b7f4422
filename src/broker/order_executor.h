#pragma once
// The one way the rest of the program reaches the broker's trading client.
#include <cstdint>
#include <string>
#include <vector>

#include "broker/window_handle.h"

class OrderExecutor {
public:
    virtual ~OrderExecutor() = default;
    virtual int connect() = 0;
    virtual const wchar_t* lastErrorText() = 0;
    virtual int32_t buy(const wchar_t* code, int32_t quantity, float price, float priceOffset) = 0;
    virtual int32_t sell(const wchar_t* code, int32_t quantity, float price, float priceOffset) = 0;
    virtual float positionCostPrice(const wchar_t* code) = 0;
    virtual float positionProfitPercent(const wchar_t* code) = 0;
    virtual float hasPosition(const wchar_t* code) = 0;
    virtual float positionQuantity(const wchar_t* code) = 0;
    virtual float positionMarketValue(const wchar_t* code) = 0;
    virtual float positionSpareValue(const wchar_t* code) = 0;
    virtual float positionSellableQuantity(const wchar_t* code) = 0;
    virtual float pendingOrderQuantity(const wchar_t* code, int32_t direction) = 0;
    // True only when a read of the orders after the cancel no longer shows the order.
    virtual bool cancelOrder(const wchar_t* code, int32_t direction) = 0;
    virtual void refreshPositions() = 0;
    // The codes the rules watch: a client asked for each price separately is asked for these only.
    virtual void setRuledCodes(const std::vector<std::wstring>& codes) { (void)codes; }
    virtual int detectBroker() = 0;
    virtual int isConnected() = 0;
    virtual int sendFetionSms(const wchar_t* phoneNumber, const wchar_t* text) = 0;
    virtual int sendQqMessage(const wchar_t* windowTitle, const wchar_t* text) = 0;
    virtual int autoConfigure() = 0;
    virtual int hasOrdersList() = 0;
    virtual WindowHandle findClientMainWindow() = 0;
};
