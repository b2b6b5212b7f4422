#pragma once
// The window work behind the executor's two messenger operations. The alerts subsystem owns the
// drivers of the Fetion and QQ windows and hands them to the executor, which forwards to them.
class MessengerDriver {
public:
    virtual ~MessengerDriver() = default;
    // 1 when the message was handed to Fetion's send button, 0 when a needed window is missing.
    virtual int sendFetionSms(const wchar_t* phoneNumber, const wchar_t* text) = 0;
    // 1 when the text was typed and the send point clicked, 0 without such a chat window.
    virtual int sendQqMessage(const wchar_t* windowTitle, const wchar_t* text) = 0;
};
