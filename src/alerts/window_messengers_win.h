#pragma once
// The Fetion and QQ drivers as the executor's messenger operations reach them. Each messenger's
// sends come from its own alert worker, so neither window cache is shared between threads.
#include "alerts/fetion_driver_win.h"
#include "alerts/qq_driver_win.h"
#include "broker/messenger_driver.h"

class WindowMessengers : public MessengerDriver {
public:
    int sendFetionSms(const wchar_t* phoneNumber, const wchar_t* text) override {
        return fetion_.sendFetionSms(phoneNumber ? phoneNumber : L"", text ? text : L"");
    }
    int sendQqMessage(const wchar_t* windowTitle, const wchar_t* text) override {
        return qq_.sendQqMessage(windowTitle ? windowTitle : L"", text ? text : L"");
    }

private:
    FetionDriver fetion_;
    QqDriver qq_;
};
