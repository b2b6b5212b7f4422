#include "alerts/voice_setting_dlg.h"

#include <commdlg.h>
#include <windowsx.h>

#include <mutex>
#include <optional>

#include "alerts/fetion_driver_win.h"
#include "common/trimmed_text.h"
#include "framework/message_box.h"
#include "res/resource.h"

namespace {

constexpr wchar_t kTestMessage[] = L"测试,来自Halyard";
constexpr wchar_t kNoPhoneNumber[] = L"电话号码不能为空";
constexpr wchar_t kNoNickname[] = L"QQ昵称不能为空";
constexpr wchar_t kNoWebhookUrl[] = L"群机器人网址不能为空";
constexpr wchar_t kNoSendKey[] = L"Server酱 SendKey不能为空";
constexpr wchar_t kNoPushToken[] = L"PushPlus token不能为空";
constexpr wchar_t kNoFetion[] = L"没有找到飞信, 要发送短信,请安装并运行飞信";
constexpr wchar_t kQqChatWindowClass[] = L"TXGuiFoundation";
constexpr UINT kWebhookAnswered = WM_APP + 46;
constexpr DWORD kPathLength = 32768;

std::wstring noChatWindowText(const std::wstring& nickname) {
    return L"没有找到 " + nickname + L" 聊天窗口\n要发送QQ信息,请运行QQ并打开 " + nickname +
           L" 聊天窗口\n并且保持此窗口打开\n你可以把窗口拖到桌面边缘,但是不能关闭,也不能最小化";
}

}  // namespace

// The webhook test's outcome, handed from the worker to the dialog's thread.
struct CVoiceSetting::WebhookAnswerSlot {
    std::mutex lock;
    std::optional<WebhookResult> result;
};

std::wstring chooseFileWithSystemDialog(HWND owner) {
    std::wstring path(kPathLength, L'\0');
    OPENFILENAMEW request{};
    request.lStructSize = sizeof request;
    request.hwndOwner = owner;
    request.lpstrFile = path.data();
    request.nMaxFile = kPathLength;
    request.Flags = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT;
    if (!GetOpenFileNameW(&request)) return std::wstring();
    path.resize(wcslen(path.c_str()));
    return path;
}

CVoiceSetting::CVoiceSetting(AlertSettingsStore& store, AlertDispatch& alerts, HWND parent)
    : halyard::Dialog(IDD_VOICE_SETTING, parent),
      chooseFile(chooseFileWithSystemDialog),
      store_(store),
      alerts_(alerts),
      webhookAnswer_(std::make_shared<WebhookAnswerSlot>()) {}

void CVoiceSetting::doDataExchange(halyard::DataExchange& exchange) {
    exchange.check(IDC_PLAY_VOICE, settings_.playVoice);
    exchange.text(IDC_STOP_LOSS_SOUND, settings_.stopLossSound);
    exchange.text(IDC_MOVE_STOP_LOSS_SOUND, settings_.moveStopLossSound);
    exchange.text(IDC_TAKE_PROFIT_SOUND, settings_.takeProfitSound);
    exchange.check(IDC_PHONE_MESSAGE, settings_.phoneMessage);
    exchange.check(IDC_QQ_MESSAGE, settings_.qqMessage);
    exchange.text(IDC_PHONE_NUMBER, settings_.phoneNumber);
    exchange.text(IDC_QQ_NICKNAME, settings_.qqNickname);
    exchange.check(IDC_WEBHOOK_MESSAGE, settings_.webhookMessage);
    exchange.text(IDC_WEBHOOK_URL, settings_.webhookUrl);
    exchange.text(IDC_WEBHOOK_SECRET, settings_.webhookSecret);
    exchange.text(IDC_PUSH_DAILY_LIMIT, settings_.pushDailyLimit);
    exchange.range(settings_.pushDailyLimit, 1, DailyBudget::kMost);
    exchange.check(IDC_DAILY_REPORT, settings_.dailyReport);
    // The format list's selection is the format's number.
    exchange.comboIndex(IDC_WEBHOOK_FORMAT, settings_.webhookFormat);
}

bool CVoiceSetting::onInitDialog() {
    halyard::Dialog::onInitDialog();
    for (int format = 0; format < kWebhookFormatCount; ++format) {
        const wchar_t* name = webhookFormatName(static_cast<WebhookFormat>(format));
        ComboBox_AddString(item(IDC_WEBHOOK_FORMAT), name);
    }
    settings_ = store_.alertSettings();
    settings_.webhookFormat = static_cast<int>(webhookFormatOf(settings_.webhookFormat));
    settings_.pushDailyLimit = DailyBudget::effective(settings_.pushDailyLimit);
    updateData(false);
    enableControls();
    showWebhookKind();
    return true;
}

void CVoiceSetting::enableControls() {
    for (int id : {IDC_STOP_LOSS_SOUND, IDC_MOVE_STOP_LOSS_SOUND, IDC_TAKE_PROFIT_SOUND,
                   IDC_CHOOSE_STOP_LOSS_SOUND, IDC_CHOOSE_MOVE_STOP_LOSS_SOUND, IDC_CHOOSE_TAKE_PROFIT_SOUND})
        enableItem(id, settings_.playVoice != 0);
    enableItem(IDC_PHONE_NUMBER, settings_.phoneMessage != 0);
    enableItem(IDC_TEST_SMS, settings_.phoneMessage != 0);
    enableItem(IDC_QQ_NICKNAME, settings_.qqMessage != 0);
    enableItem(IDC_TEST_QQ, settings_.qqMessage != 0);
    for (int id : {IDC_WEBHOOK_FORMAT, IDC_WEBHOOK_URL, IDC_TEST_WEBHOOK})
        enableItem(id, settings_.webhookMessage != 0);
    const bool push = isPushService(webhookFormatOf(settings_.webhookFormat));
    enableItem(IDC_WEBHOOK_SECRET, settings_.webhookMessage != 0 && !push);
    enableItem(IDC_PUSH_DAILY_LIMIT, settings_.webhookMessage != 0 && push);
}

void CVoiceSetting::showWebhookKind() {
    const int selected = ComboBox_GetCurSel(item(IDC_WEBHOOK_FORMAT));
    if (selected >= 0) settings_.webhookFormat = selected;
    const WebhookFormat format = webhookFormatOf(settings_.webhookFormat);
    const wchar_t* label = format == WebhookFormat::ServerChan ? L"SendKey:"
                           : format == WebhookFormat::PushPlus ? L"token:"
                                                               : L"机器人网址:";
    SetWindowTextW(item(IDC_WEBHOOK_URL_LABEL), label);
    enableControls();
}

std::wstring CVoiceSetting::missingWebhookText() const {
    const WebhookFormat format = webhookFormatOf(settings_.webhookFormat);
    if (format == WebhookFormat::ServerChan) return kNoSendKey;
    return format == WebhookFormat::PushPlus ? kNoPushToken : kNoWebhookUrl;
}

bool CVoiceSetting::onCommand(int id, int code, HWND control) {
    if (id == IDC_WEBHOOK_FORMAT && code == CBN_SELCHANGE) {
        showWebhookKind();
        return true;
    }
    if (code != BN_CLICKED) return halyard::Dialog::onCommand(id, code, control);
    switch (id) {
        case IDC_PLAY_VOICE:
        case IDC_PHONE_MESSAGE:
        case IDC_QQ_MESSAGE:
        case IDC_WEBHOOK_MESSAGE:
            updateData(true);
            enableControls();
            return true;
        case IDC_CHOOSE_STOP_LOSS_SOUND:
            chooseSound(settings_.stopLossSound);
            return true;
        case IDC_CHOOSE_MOVE_STOP_LOSS_SOUND:
            chooseSound(settings_.moveStopLossSound);
            return true;
        case IDC_CHOOSE_TAKE_PROFIT_SOUND:
            chooseSound(settings_.takeProfitSound);
            return true;
        case IDC_PLAY_STOP_LOSS_SOUND:
            playSound(settings_.stopLossSound);
            return true;
        case IDC_PLAY_MOVE_STOP_LOSS_SOUND:
            playSound(settings_.moveStopLossSound);
            return true;
        case IDC_PLAY_TAKE_PROFIT_SOUND:
            playSound(settings_.takeProfitSound);
            return true;
        case IDC_TEST_SMS:
            testSms();
            return true;
        case IDC_TEST_QQ:
            testQq();
            return true;
        case IDC_TEST_WEBHOOK:
            testWebhook();
            return true;
        default:
            return halyard::Dialog::onCommand(id, code, control);
    }
}

// What was typed so far is read first: showing the chosen path must not undo it.
void CVoiceSetting::chooseSound(std::wstring& sound) {
    updateData(true);
    const std::wstring path = chooseFile ? chooseFile(hwnd()) : std::wstring();
    if (path.empty()) return;
    sound = path;
    updateData(false);
}

void CVoiceSetting::playSound(const std::wstring& sound) {
    updateData(true);
    alerts_.playAlertSound(sound);
}

void CVoiceSetting::testSms() {
    updateData(true);
    if (settings_.phoneNumber.empty()) {
        halyard::showMessageBox(hwnd(), kNoPhoneNumber);
        return;
    }
    if (findFetionMainWindow()) {
        alerts_.startSmsAlert(settings_.phoneNumber, kTestMessage);
        return;
    }
    halyard::showMessageBox(hwnd(), kNoFetion);
}

void CVoiceSetting::testQq() {
    updateData(true);
    if (settings_.qqNickname.empty()) {
        halyard::showMessageBox(hwnd(), kNoNickname);
        return;
    }
    if (FindWindowW(kQqChatWindowClass, settings_.qqNickname.c_str())) {
        alerts_.startQqAlert(settings_.qqNickname, kTestMessage);
        return;
    }
    halyard::showMessageBox(hwnd(), noChatWindowText(settings_.qqNickname));
}

// Unlike the messengers, a robot answers: the outcome is shown once the worker has it.
void CVoiceSetting::testWebhook() {
    updateData(true);
    trimWebhookFields();
    if (settings_.webhookUrl.empty()) {
        halyard::showMessageBox(hwnd(), missingWebhookText());
        return;
    }
    enableItem(IDC_TEST_WEBHOOK, false);
    std::shared_ptr<WebhookAnswerSlot> slot = webhookAnswer_;
    HWND window = hwnd();
    alerts_.startWebhookAlert(WebhookTarget{settings_.webhookUrl, webhookFormatOf(settings_.webhookFormat),
                                            settings_.webhookSecret},
                              kTestMessage, [slot, window](const WebhookResult& result) {
                                  {
                                      std::lock_guard<std::mutex> guard(slot->lock);
                                      slot->result = result;
                                  }
                                  PostMessageW(window, kWebhookAnswered, 0, 0);
                              });
}

bool CVoiceSetting::onMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    if (message != kWebhookAnswered) return halyard::Dialog::onMessage(message, wParam, lParam, result);
    showWebhookAnswer();
    result = 0;
    return true;
}

void CVoiceSetting::showWebhookAnswer() {
    std::optional<WebhookResult> answer;
    {
        std::lock_guard<std::mutex> guard(webhookAnswer_->lock);
        answer.swap(webhookAnswer_->result);
    }
    if (!answer) return;
    enableItem(IDC_TEST_WEBHOOK, settings_.webhookMessage != 0);
    const WebhookFormat format = webhookFormatOf(settings_.webhookFormat);
    const std::wstring channel = isPushService(format) ? webhookFormatName(format) : L"群机器人";
    halyard::showMessageBox(hwnd(), channel + L"测试: " + webhookOutcomeText(*answer));
}

// A pasted URL or secret comes with blanks around it: they are no part of it.
void CVoiceSetting::trimWebhookFields() {
    const std::wstring url = halyard::trimmedText(settings_.webhookUrl);
    const std::wstring secret = halyard::trimmedText(settings_.webhookSecret);
    if (url == settings_.webhookUrl && secret == settings_.webhookSecret) return;
    settings_.webhookUrl = url;
    settings_.webhookSecret = secret;
    updateData(false);
}

void CVoiceSetting::onOK() {
    updateData(true);
    trimWebhookFields();
    std::wstring error;
    if (settings_.phoneMessage && settings_.phoneNumber.empty()) error += kNoPhoneNumber;
    if (settings_.qqMessage && settings_.qqNickname.empty()) error += kNoNickname;
    if (settings_.webhookMessage && settings_.webhookUrl.empty()) error += missingWebhookText();
    if (!error.empty()) {
        halyard::showMessageBox(hwnd(), error);
        return;
    }
    store_.storeAlertSettings(settings_);
    endDialog(IDOK);
}
