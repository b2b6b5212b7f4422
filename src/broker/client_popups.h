#pragma once
// The pop-ups of a grid client, told apart by their title and text. A captcha is the investor's
// to answer, whatever its title; an order is submitted only when the client names its 合同编号.
#include <string>

enum class ClientPopupKind {
    Other,               // a notice whose meaning is not known: never taken as a submission
    Captcha,             // the client wants a code typed: left alone
    OrderConfirmation,   // 委托确认, to be answered only after Halyard's own press
    CancelConfirmation,  // 撤单确认, likewise
    OrderSubmitted,      // with its contract number
    OrderRefused,        // with the client's reason
};

struct ClientPopup {
    ClientPopupKind kind = ClientPopupKind::Other;
    std::wstring contractNumber;
    std::wstring reason;
};

ClientPopup readClientPopup(const std::wstring& title, const std::wstring& text);
