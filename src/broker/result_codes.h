#pragma once
// The executor's result codes (kept in lastError) and the texts the user is shown for them.
#include <cstdint>

enum ResultCode : int32_t {
    kResultDone = 1,
    kResultFailed = 0,
    kUnknownError = -1,
    kIncompleteData = -2,
    kClientNotRunning = -3,
    kPagesNotRecognised = -4,
    kMainWindowNotFound = -5,
    kToolbarNotFound = -6,
    kBuyPanelNotFound = -7,
    kSellPanelNotFound = -8,
    kPositionsPanelNotFound = -9,
    kOrdersPanelNotFound = -10,
    kToolbarParentNotFound = -11,
    kBuyCodeEditNotFound = -12,
    kSellCodeEditNotFound = -13,
    kBuyOrderButtonNotFound = -14,
    kSellOrderButtonNotFound = -15,
    kBuyMaxLabelNotFound = -16,
    kSellMaxLabelNotFound = -17,
    // Beyond the client's layout: a client that went away, stopped answering or may not be touched.
    kFormWindowGone = -18,
    kClientNotAnswering = -19,
    kOrderButtonNotPressed = -20,
    kClientElevated = -21,
    kCancelButtonNotPressed = -22,
    kClientTooWide = -23,
    // The cancel button was pressed, but the orders read after it still shows the order.
    kCancelNotConfirmed = -24,
    // The price field did not keep the price typed (the client's quote came in over it).
    kPriceNotKept = -25,
    // The client answered the order with a refusal (its reason goes to the client notices).
    kOrderRefused = -26,
    // A grid client asks the investor for a captcha and copies nothing until it is typed.
    kClientAsksCaptcha = -27,
};

// "成功" for 0 and above; a code without a text of its own reads as "未知错误".
const wchar_t* resultCodeText(int32_t code);
