#pragma once
// What the executor learns about the client besides tables: the texts of the pop-ups its
// sweeps confirmed ("委托价格超出涨跌停限制"), notes about its reads (a list cut short), whether
// the confirmation of Halyard's own order is still open and whether the positions can be read.
// Portable, so the monitor can put them into the journal beside the orders they follow.
#include <string>
#include <vector>

// The notice of a client that waits for the investor to type a captcha's code: it copies
// nothing until then. Handed out once per captcha.
inline constexpr const wchar_t* kCaptchaNotice = L"券商软件要求输入验证码";

class ClientContact {
public:
    virtual ~ClientContact() = default;
    // Oldest first; each text is handed out once.
    virtual std::vector<std::wstring> takeClientNotices() = 0;
    // The client still shows the confirmation of an order Halyard pressed: that order is on its
    // way, though no read shows it yet.
    virtual bool ownOrderAwaitingConfirmation() = 0;
    // Why the last attempt to read the positions failed (the client did not answer in time, its
    // memory could not be read, the list is no window); empty once a read succeeded. A read left
    // out because the previous one is recent changes nothing.
    virtual std::wstring positionsReadFailure() { return {}; }
};
