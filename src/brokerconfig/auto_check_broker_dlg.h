#pragma once
// Runs broker detection on a thread of its own while a red row of dots grows (dialog 147), and
// tells the opener whether it succeeded. It ends only when detection reports back: Enter, Esc
// and the close box do nothing.
#include <windows.h>

#include <string>

#include "common/unique_handle.h"
#include "framework/dialog.h"

class BrokerDetection;

// Posted by the detection thread to the dialog: wParam 1 when detection succeeded, else 0.
constexpr UINT WM_BROKER_DETECTED = WM_USER + 100;

class CAutoCheckBrokerDlg : public halyard::Dialog {
public:
    static constexpr UINT_PTR kDotsTimer = 1;
    static constexpr size_t kMostDots = 34;

    // `detection` (the executor) must outlive the dialog's run.
    explicit CAutoCheckBrokerDlg(BrokerDetection& detection, HWND parent = nullptr);
    ~CAutoCheckBrokerDlg() override;

    // The row of dots after `dots`: one more, or "." again once it holds kMostDots.
    static std::wstring nextDots(const std::wstring& dots);
    // Which pages the sweep has recognised so far: "买入 ✓ 卖出 ✓ 持仓 … 撤单 …".
    static std::wstring pagesText(unsigned learntPages);

    std::wstring progressText = L".";
    HWND progressLabel = nullptr;
    halyard::UniqueFont progressFont;
    bool succeeded = false;

protected:
    void doDataExchange(halyard::DataExchange& exchange) override;
    bool onInitDialog() override;
    void onOK() override;
    void onCancel() override;
    void onTimer(UINT_PTR timerId) override;
    bool onMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

private:
    static DWORD WINAPI detectionThread(LPVOID parameter);
    void showPages();
    void finish(bool detected);

    BrokerDetection& detection_;
    halyard::UniqueHandle thread_;
};
