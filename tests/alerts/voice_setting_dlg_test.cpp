// The alert settings dialog through its real window: values, enabling, 确定's joined check,
// the chosen sound file, the test sends of each channel and 取消.
#include "alerts/voice_setting_dlg.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <mutex>
#include <vector>

#include "res/resource.h"
#include "support/dialog_test_support.h"

namespace {

class MemoryStore : public AlertSettingsStore {
public:
    AlertOptions alertSettings() override { return stored; }
    void storeAlertSettings(const AlertOptions& settings) override {
        stored = settings;
        ++stores;
    }
    AlertOptions stored;
    int stores = 0;
};

class VoiceSettingDlgTest : public DialogTest {
protected:
    VoiceSettingDlgTest() : alerts(recordingSenders(), nullptr) {
        store.stored.stopLossSound = L"StopLoss.wav";
        store.stored.qqMessage = 1;
        store.stored.qqNickname = L"提醒群";
    }
    AlertSenders recordingSenders() {
        AlertSenders senders;
        senders.sound = [this](const std::wstring& file) { record(L"sound " + file); };
        senders.sms = [this](const AlertJob& job) {
            return record(L"sms " + job.recipient + L" " + job.text);
        };
        senders.qq = [this](const AlertJob& job) { return record(L"qq " + job.recipient + L" " + job.text); };
        senders.webhook = [this](const WebhookTarget& target, const std::wstring& text, const AlertPause&) {
            record(L"webhook " + target.url + L" " + target.secret + L" " + text);
            WebhookResult result;
            result.kind = WebhookResult::Kind::Refused;
            result.answer =
                readWebhookAnswer(target.format, "{\"code\":19024,\"msg\":\"Key Words Not Found\"}");
            return result;
        };
        return senders;
    }
    std::wstring record(const std::wstring& call) {
        std::lock_guard<std::mutex> guard(lock);
        calls.push_back(call);
        return L"";
    }
    std::vector<std::wstring> recorded() {
        for (int i = 0; i < 100; ++i) {
            {
                std::lock_guard<std::mutex> guard(lock);
                if (calls.size() >= expectedCalls) return calls;
            }
            Sleep(20);
        }
        std::lock_guard<std::mutex> guard(lock);
        return calls;
    }
    // A top-level window of this process standing in for a messenger's.
    static HWND messengerWindow(const wchar_t* className, const wchar_t* title) {
        WNDCLASSW windowClass{};
        windowClass.lpfnWndProc = DefWindowProcW;
        windowClass.hInstance = GetModuleHandleW(nullptr);
        windowClass.lpszClassName = className;
        RegisterClassW(&windowClass);
        return CreateWindowExW(0, className, title, WS_OVERLAPPED, 0, 0, 100, 100, nullptr, nullptr,
                               GetModuleHandleW(nullptr), nullptr);
    }

    MemoryStore store;
    std::mutex lock;
    std::vector<std::wstring> calls;
    size_t expectedCalls = 0;
    AlertDispatch alerts;
};

const std::initializer_list<int> kSoundControls = {
    IDC_STOP_LOSS_SOUND,        IDC_MOVE_STOP_LOSS_SOUND,        IDC_TAKE_PROFIT_SOUND,
    IDC_CHOOSE_STOP_LOSS_SOUND, IDC_CHOOSE_MOVE_STOP_LOSS_SOUND, IDC_CHOOSE_TAKE_PROFIT_SOUND};
const std::initializer_list<int> kPlayButtons = {IDC_PLAY_STOP_LOSS_SOUND, IDC_PLAY_MOVE_STOP_LOSS_SOUND,
                                                 IDC_PLAY_TAKE_PROFIT_SOUND};
const std::initializer_list<int> kChannelControls = {IDC_PHONE_NUMBER,   IDC_TEST_SMS,       IDC_QQ_NICKNAME,
                                                     IDC_TEST_QQ,        IDC_WEBHOOK_FORMAT, IDC_WEBHOOK_URL,
                                                     IDC_WEBHOOK_SECRET, IDC_TEST_WEBHOOK};

TEST_F(VoiceSettingDlgTest, CheckBoxesEnableTheirControlsAndPlayStaysEnabled) {
    CVoiceSetting dialog(store, alerts);
    halyard::ModalDialogThread run(dialog);
    HWND window = run.waitForDialog();
    ASSERT_TRUE(window);
    EXPECT_EQ(halyard::controlText(window), L"设置声音,短信,QQ信息");
    EXPECT_EQ(texts(run, {IDC_STOP_LOSS_SOUND, IDC_MOVE_STOP_LOSS_SOUND, IDC_QQ_NICKNAME}),
              L"StopLoss.wav|MoveStopLoss.wav|提醒群|");
    EXPECT_EQ(checks(run, {IDC_PLAY_VOICE, IDC_PHONE_MESSAGE, IDC_QQ_MESSAGE, IDC_WEBHOOK_MESSAGE,
                           IDC_DAILY_REPORT}),
              L"10100");
    EXPECT_EQ(enabled(run, kSoundControls) + enabled(run, kPlayButtons), L"111111111");
    EXPECT_EQ(enabled(run, kChannelControls), L"00110000");
    for (int id : {IDC_PLAY_VOICE, IDC_PHONE_MESSAGE, IDC_QQ_MESSAGE, IDC_WEBHOOK_MESSAGE}) run.click(id);
    EXPECT_TRUE(run.settle());
    EXPECT_EQ(enabled(run, kSoundControls) + enabled(run, kPlayButtons), L"000000111");
    EXPECT_EQ(enabled(run, kChannelControls), L"11001111");
    HWND formats = GetDlgItem(window, IDC_WEBHOOK_FORMAT);
    SendMessageW(formats, CB_SETCURSEL, 4, 0);
    SendMessageW(window, WM_COMMAND, MAKEWPARAM(IDC_WEBHOOK_FORMAT, CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(formats));
    EXPECT_TRUE(run.settle());
    EXPECT_EQ(run.text(IDC_WEBHOOK_URL_LABEL) + enabled(run, {IDC_WEBHOOK_SECRET, IDC_PUSH_DAILY_LIMIT}),
              L"token:01");
    // 播放 plays what the (disabled) edit names.
    expectedCalls = 1;
    run.click(IDC_PLAY_STOP_LOSS_SOUND);
    EXPECT_EQ(recorded(), (std::vector<std::wstring>{L"sound StopLoss.wav"}));
    run.click(IDCANCEL);
    ASSERT_TRUE(run.waitForEnd());
    EXPECT_EQ(store.stores, 0);
}

TEST_F(VoiceSettingDlgTest, ConfirmJoinsTheMissingValuesThenStoresWhatTheControlsHold) {
    CVoiceSetting dialog(store, alerts);
    halyard::ModalDialogThread run(dialog);
    HWND window = run.waitForDialog();
    ASSERT_TRUE(window);
    run.setText(IDC_QQ_NICKNAME, L"");
    run.click(IDC_PHONE_MESSAGE);
    run.click(IDOK);
    EXPECT_EQ(answerMessageBox(run), L"电话号码不能为空QQ昵称不能为空");
    run.click(IDC_WEBHOOK_MESSAGE);
    run.click(IDOK);
    EXPECT_EQ(answerMessageBox(run), L"电话号码不能为空QQ昵称不能为空群机器人网址不能为空");
    EXPECT_TRUE(run.running());
    EXPECT_EQ(store.stores, 0);
    // SMS off: its empty number is accepted.
    run.click(IDC_PHONE_MESSAGE);
    // Pasted with blanks around: stored without them.
    setTexts(run, {{IDC_QQ_NICKNAME, L"提醒群2"},
                   {IDC_WEBHOOK_URL, L"  https://open.feishu.cn/open-apis/bot/v2/hook/k\x3000"},
                   {IDC_WEBHOOK_SECRET, L" SEC密钥\t"},
                   {IDC_PUSH_DAILY_LIMIT, L"80"}});
    SendMessageW(GetDlgItem(window, IDC_WEBHOOK_FORMAT), CB_SETCURSEL, 2, 0);
    run.click(IDC_DAILY_REPORT);
    run.click(IDOK);
    ASSERT_TRUE(run.waitForEnd());
    EXPECT_EQ(run.result(), IDOK);
    ASSERT_EQ(store.stores, 1);
    AlertOptions expected = store.stored;
    expected.qqNickname = L"提醒群2";
    expected.webhookMessage = 1;
    expected.webhookFormat = 2;
    expected.webhookUrl = L"https://open.feishu.cn/open-apis/bot/v2/hook/k";
    expected.webhookSecret = L"SEC密钥";
    expected.pushDailyLimit = 80;
    expected.dailyReport = 1;
    EXPECT_TRUE(store.stored == expected);
    EXPECT_EQ(store.stored.phoneMessage, 0);
}

TEST_F(VoiceSettingDlgTest, ChoosingASoundKeepsWhatWasJustTypedAndCancellingKeepsTheFile) {
    CVoiceSetting dialog(store, alerts);
    std::wstring chosen = L"C:\\声音\\新止损.wav";
    dialog.chooseFile = [&chosen](HWND) { return chosen; };
    halyard::ModalDialogThread run(dialog);
    ASSERT_TRUE(run.waitForDialog());
    run.click(IDC_PHONE_MESSAGE);
    EXPECT_TRUE(run.settle());
    run.setText(IDC_PHONE_NUMBER, L"13812345678");
    run.click(IDC_CHOOSE_STOP_LOSS_SOUND);
    EXPECT_TRUE(run.settle());
    EXPECT_EQ(texts(run, {IDC_STOP_LOSS_SOUND, IDC_PHONE_NUMBER}), L"C:\\声音\\新止损.wav|13812345678|");
    chosen.clear();  // the file dialog cancelled
    run.click(IDC_CHOOSE_TAKE_PROFIT_SOUND);
    EXPECT_TRUE(run.settle());
    EXPECT_EQ(run.text(IDC_TAKE_PROFIT_SOUND), L"TakeProfit.wav");
    run.click(IDOK);
    ASSERT_TRUE(run.waitForEnd());
    EXPECT_EQ(store.stored.stopLossSound, L"C:\\声音\\新止损.wav");
    EXPECT_EQ(store.stored.phoneNumber, L"13812345678");
}

TEST_F(VoiceSettingDlgTest, TestSendsLookForTheMessengersAndCancelStoresNothing) {
    store.stored.phoneMessage = 1;
    store.stored.webhookMessage = 1;
    CVoiceSetting dialog(store, alerts);
    halyard::ModalDialogThread run(dialog);
    ASSERT_TRUE(run.waitForDialog());
    const std::wstring nickname = L"提醒群";
    run.click(IDC_TEST_SMS);
    EXPECT_EQ(answerMessageBox(run), L"电话号码不能为空");
    run.setText(IDC_PHONE_NUMBER, L"13800000000");
    run.click(IDC_TEST_SMS);
    EXPECT_EQ(answerMessageBox(run), L"没有找到飞信, 要发送短信,请安装并运行飞信");
    run.click(IDC_TEST_QQ);
    EXPECT_EQ(answerMessageBox(run),
              L"没有找到 " + nickname + L" 聊天窗口\n要发送QQ信息,请运行QQ并打开 " + nickname +
                  L" 聊天窗口\n并且保持此窗口打开\n你可以把窗口拖到桌面边缘,但是不能关闭,也不能最小化");
    run.click(IDC_TEST_WEBHOOK);
    EXPECT_EQ(answerMessageBox(run), L"群机器人网址不能为空");

    HWND fetion = messengerWindow(L"FxWnd", L"飞信2013");
    HWND chat = messengerWindow(L"TXGuiFoundation", nickname.c_str());
    expectedCalls = 3;
    run.click(IDC_TEST_SMS);
    run.click(IDC_TEST_QQ);
    setTexts(run, {{IDC_WEBHOOK_URL, L" https://robot.example/hook/k "}, {IDC_WEBHOOK_SECRET, L"SEC1"}});
    SendMessageW(GetDlgItem(run.waitForDialog(), IDC_WEBHOOK_FORMAT), CB_SETCURSEL, 2, 0);
    run.click(IDC_TEST_WEBHOOK);
    EXPECT_EQ(answerMessageBox(run), L"群机器人测试: 机器人拒绝 (错误码 19024 Key Words Not Found)");
    EXPECT_TRUE(run.settle());
    EXPECT_EQ(run.currentMessageBox(), nullptr);  // the messengers' tests report nothing
    std::vector<std::wstring> sent = recorded();  // each channel has its own worker: any order
    std::sort(sent.begin(), sent.end());
    EXPECT_EQ(sent,
              (std::vector<std::wstring>{L"qq 提醒群 测试,来自Halyard", L"sms 13800000000 测试,来自Halyard",
                                         L"webhook https://robot.example/hook/k SEC1 测试,来自Halyard"}));
    EXPECT_TRUE(run.isEnabled(IDC_TEST_WEBHOOK));
    run.click(IDCANCEL);
    ASSERT_TRUE(run.waitForEnd());
    EXPECT_EQ(store.stores, 0);
    DestroyWindow(fetion);
    DestroyWindow(chat);
}

}  // namespace
