#pragma once
// The alert settings (dialog 146): sounds and their files, SMS through Fetion, QQ, and the
// group-robot webhook (with its optional signing secret) or a push service (its key and daily
// limit), with a test send for each message channel, and the daily report's switch. It reads the settings
// when it opens and stores them only on 确定.
#include <windows.h>

#include <functional>
#include <memory>
#include <string>

#include "alerts/alert_dispatch.h"
#include "alerts/alert_settings.h"
#include "framework/dialog.h"

class CVoiceSetting : public halyard::Dialog {
public:
    // Answers the chosen file's full path, or empty when the user cancelled.
    using FileChooser = std::function<std::wstring(HWND owner)>;

    CVoiceSetting(AlertSettingsStore& store, AlertDispatch& alerts, HWND parent = nullptr);

    // The system's open-file dialog unless replaced.
    FileChooser chooseFile;

protected:
    void doDataExchange(halyard::DataExchange& exchange) override;
    bool onInitDialog() override;
    bool onCommand(int id, int code, HWND control) override;
    void onOK() override;
    bool onMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

private:
    struct WebhookAnswerSlot;

    void enableControls();
    // The URL field's label and the empty field's complaint name what the chosen kind needs.
    void showWebhookKind();
    std::wstring missingWebhookText() const;
    void chooseSound(std::wstring& sound);
    void playSound(const std::wstring& sound);
    void testSms();
    void testQq();
    void testWebhook();
    void showWebhookAnswer();
    void trimWebhookFields();

    AlertSettingsStore& store_;
    AlertDispatch& alerts_;
    // What the controls show, read when the dialog opens and stored on 确定.
    AlertOptions settings_;
    std::shared_ptr<WebhookAnswerSlot> webhookAnswer_;
};

// The standard open-file dialog: no filter, no default extension, no initial name.
std::wstring chooseFileWithSystemDialog(HWND owner);
