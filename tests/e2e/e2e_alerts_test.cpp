// A stop loss with every alert channel on: one sale in the client, and one message each in the
// Fetion and QQ stand-ins and at the local webhook server (tests/support/webhook_server.py).
#include <gtest/gtest.h>

#include "app/registry_profile.h"
#include "common/text_encoding.h"
#include "e2e/scenario.h"
#include "support/messenger_process.h"

namespace e2e {
namespace {

using halyard::testing::MessengerProcess;

std::wstring environment(const wchar_t* name) {
    wchar_t value[1024] = {};
    const DWORD length = GetEnvironmentVariableW(name, value, 1024);
    return length > 0 && length < 1024 ? value : L"";
}

class AlertsScenario : public Scenario {
protected:
    void TearDown() override {
        Scenario::TearDown();
        // The registry key is shared with the other scenarios: they run with the channels off.
        RegistryProfile profile(L"Halyard");
        for (const wchar_t* name : {L"PhoneMessage", L"QQMessage", L"WebhookMessage"})
            profile.writeInt(name, 0);
    }
};

TEST_F(AlertsScenario, AStopLossReachesTheClientOnceAndEveryChannelOnce) {
    const std::wstring port = environment(L"HALYARD_WEBHOOK_PORT");
    ASSERT_FALSE(port.empty()) << "run through tests/support/webhook_server.py";
    MessengerProcess fetion(MessengerProcess::Kind::Fetion);
    MessengerProcess qq(MessengerProcess::Kind::Qq, {L"--nickname", L"止损提醒"});
    ASSERT_TRUE(fetion.started() && qq.started());
    e2e::writeAlertChannels(L"http://127.0.0.1:" + port + L"/wecom/send?key=E2ESECRET");
    startClient(kPortfolio);
    RuleTable rules;
    rules[L"600000"] = stopLossRule(L"600000", 5);
    startHalyard(rules, 10, 0, 0);
    expectMainWindow();
    ASSERT_TRUE(client->send(L"price 600000 8.00"));
    ASSERT_TRUE(waitForSellOrders(1));
    ASSERT_TRUE(fetion.waitForSent(1, 20000));
    ASSERT_TRUE(qq.waitForSent(1, 20000));
    Sleep(8000);  // more cycles: nothing is sold or sent twice
    screenshot("alerted");

    EXPECT_EQ(sellOrders().size(), 1u);
    const auto sms = fetion.sent();
    const auto chat = qq.sent();
    ASSERT_EQ(sms.size(), 1u);
    ASSERT_EQ(chat.size(), 1u);
    const std::wstring text = sms[0].text("text");
    EXPECT_EQ(text.rfind(L"浦发银行 在 ", 0), 0u) << ::halyard::toUtf8(text);
    EXPECT_NE(text.find(L"满足止损条件 已经执行卖出操作"), std::wstring::npos);
    EXPECT_EQ(sms[0].text("to"), L"13800000000");
    EXPECT_EQ(chat[0].text("text"), text);
    const auto requests = halyard::testing::readJournal(environment(L"HALYARD_WEBHOOK_LOG"));
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].text("path"), L"/wecom/send?key=E2ESECRET");
    EXPECT_EQ(requests[0].text("body"), L"{\"msgtype\":\"text\",\"text\":{\"content\":\"" + text + L"\"}}");

    const std::wstring journal = halyardJournal();
    EXPECT_EQ(count(journal, L"提醒 短信 交给飞信发送 13800000000: " + text), 1u)
        << ::halyard::toUtf8(journal);
    EXPECT_EQ(count(journal, L"提醒 QQ 已交给QQ 止损提醒: " + text), 1u);
    EXPECT_EQ(count(journal, L"提醒 群机器人 已送达 (错误码 0 ok) http://127.0.0.1:" + port +
                                 L"/wecom/send?key=***: " + text),
              1u);
    EXPECT_EQ(count(journal, L"E2ESECRET"), 0u);

    // Button 1033 opens the alert settings showing what is stored.
    PostMessageW(GetDlgItem(mainWindow, 1033), BM_CLICK, 0, 0);
    HWND dialog = halyard->waitForMessageBox(20000);
    ASSERT_NE(dialog, nullptr);
    auto textOf = [dialog](int id) {
        wchar_t field[256] = {};
        SendMessageW(GetDlgItem(dialog, id), WM_GETTEXT, 256, reinterpret_cast<LPARAM>(field));
        return std::wstring(field);
    };
    EXPECT_EQ(halyard::testing::windowTextOf(dialog), L"设置声音,短信,QQ信息");
    EXPECT_EQ(textOf(1010) + L"|" + textOf(1011), L"13800000000|止损提醒");
    EXPECT_EQ(SendMessageW(GetDlgItem(dialog, 1037), BM_GETCHECK, 0, 0), BST_CHECKED);
    screenshot("alert-settings");
    pressMessageBoxButton(dialog, IDCANCEL);
}

}  // namespace
}  // namespace e2e
