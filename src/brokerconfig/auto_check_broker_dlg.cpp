#include "brokerconfig/auto_check_broker_dlg.h"

#include <memory>

#include "brokerconfig/broker_detection.h"
#include "res/resource.h"

namespace {

constexpr int kFontHeight = 24;
constexpr BYTE kGb2312Charset = 134;
constexpr BYTE kSwissDefaultPitch = 32;
constexpr DWORD kThreadEndWaitMs = 5000;

// What the detection thread needs; it owns this, so the dialog may go away before the thread.
struct DetectionJob {
    BrokerDetection* detection;
    HWND dialog;
};

}  // namespace

CAutoCheckBrokerDlg::CAutoCheckBrokerDlg(BrokerDetection& detection, HWND parent)
    : halyard::Dialog(IDD_AUTO_CHECK_BROKER, parent), detection_(detection) {}

CAutoCheckBrokerDlg::~CAutoCheckBrokerDlg() {
    if (thread_) WaitForSingleObject(thread_.get(), kThreadEndWaitMs);
}

std::wstring CAutoCheckBrokerDlg::nextDots(const std::wstring& dots) {
    return dots.size() >= kMostDots ? std::wstring(L".") : dots + L".";
}

std::wstring CAutoCheckBrokerDlg::pagesText(unsigned learntPages) {
    struct Page {
        unsigned bit;
        const wchar_t* name;
    };
    static const Page pages[] = {
        {kLearntBuy, L"买入"}, {kLearntSell, L"卖出"}, {kLearntPositions, L"持仓"}, {kLearntOrders, L"撤单"}};
    std::wstring text;
    for (const Page& page : pages) {
        if (!text.empty()) text += L" ";
        text += page.name;
        text += (learntPages & page.bit) ? L" ✓" : L" …";
    }
    return text;
}

void CAutoCheckBrokerDlg::doDataExchange(halyard::DataExchange& exchange) {
    exchange.text(IDC_DETECTION_DOTS, progressText);
}

bool CAutoCheckBrokerDlg::onInitDialog() {
    halyard::Dialog::onInitDialog();
    progressLabel = item(IDC_DETECTION_DOTS);
    progressFont.reset(CreateFontW(kFontHeight, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, kGb2312Charset,
                                   OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                                   kSwissDefaultPitch, L"宋体"));
    SendMessageW(progressLabel, WM_SETFONT, reinterpret_cast<WPARAM>(progressFont.get()), TRUE);
    SetTimer(hwnd(), kDotsTimer, 1000, nullptr);

    auto job = std::make_unique<DetectionJob>(DetectionJob{&detection_, hwnd()});
    thread_.reset(CreateThread(nullptr, 0, detectionThread, job.get(), 0, nullptr));
    if (thread_)
        job.release();  // the thread owns it now
    else
        PostMessageW(hwnd(), WM_BROKER_DETECTED, 0, 0);  // no thread: report failure, never wait

    setItemText(IDC_DETECTION_DOTS, progressText);
    showPages();
    return true;
}

DWORD WINAPI CAutoCheckBrokerDlg::detectionThread(LPVOID parameter) {
    std::unique_ptr<DetectionJob> job(static_cast<DetectionJob*>(parameter));
    const bool detected = job->detection->learnAndConnect() != 0;
    PostMessageW(job->dialog, WM_BROKER_DETECTED, detected ? 1 : 0, 0);
    return 0;
}

// The dialog ends only through the detection thread's message.
void CAutoCheckBrokerDlg::onOK() {}
void CAutoCheckBrokerDlg::onCancel() {}

void CAutoCheckBrokerDlg::onTimer(UINT_PTR timerId) {
    if (timerId != kDotsTimer) return;
    progressText = nextDots(progressText);
    setItemText(IDC_DETECTION_DOTS, progressText);
    showPages();
}

void CAutoCheckBrokerDlg::showPages() {
    setItemText(IDC_DETECTION_PAGES, pagesText(detection_.learntPages()));
}

bool CAutoCheckBrokerDlg::onMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    if (message == WM_BROKER_DETECTED) {
        finish(wParam == 1);
        result = 0;
        return true;
    }
    if (message == WM_CTLCOLORSTATIC && reinterpret_cast<HWND>(lParam) == progressLabel) {
        HDC dc = reinterpret_cast<HDC>(wParam);
        SetTextColor(dc, RGB(255, 0, 0));
        SetBkColor(dc, GetSysColor(COLOR_3DFACE));
        result = reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_3DFACE));
        return true;
    }
    return false;
}

void CAutoCheckBrokerDlg::finish(bool detected) {
    KillTimer(hwnd(), kDotsTimer);
    succeeded = detected;
    showPages();
    if (thread_) WaitForSingleObject(thread_.get(), kThreadEndWaitMs);
    thread_.reset();
    endDialog(IDOK);
}
