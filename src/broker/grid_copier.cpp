#include "broker/grid_copier.h"

#include <optional>

#include "broker/grid_popups.h"
#include "broker/held_control_key.h"
#include "broker/saved_clipboard.h"
#include "broker/window_toolkit.h"

namespace {

constexpr DWORD kKeyPauseMs = 60;
constexpr DWORD kCopyWaitMs = 1500;
constexpr DWORD kPollMs = 20;

struct ClientOf {
    DWORD processId = 0;
    HWND root = nullptr;
};

ClientOf clientOf(HWND grid) {
    ClientOf client;
    GetWindowThreadProcessId(grid, &client.processId);
    client.root = GetAncestor(grid, GA_ROOT);
    return client;
}

// Until the clipboard changed or a captcha showed; true when the clipboard changed.
bool waitForCopy(DWORD sequence, DWORD processId) {
    const DWORD start = GetTickCount();
    for (;;) {
        if (GetClipboardSequenceNumber() != sequence) return true;
        if (findCaptcha(processId) || GetTickCount() - start >= kCopyWaitMs) return false;
        Sleep(kPollMs);
    }
}

bool copyByKeys(HWND grid, DWORD sequence, DWORD processId) {
    HeldControlKey ctrl(grid);
    if (!ctrl) return false;
    postKeyPress(grid, 'A');
    Sleep(kKeyPauseMs);
    postKeyPress(grid, 'C');
    return waitForCopy(sequence, processId);
}

// Nothing when the grid did not answer the command.
std::optional<bool> copyByMenu(HWND grid, DWORD sequence, DWORD processId) {
    if (!sendToWindow(grid, WM_COMMAND, kGridCopyCommand, 0)) return std::nullopt;
    return waitForCopy(sequence, processId);
}

// The clipboard now holds the client's copy, not something another program put there meanwhile.
bool ownedByClient(DWORD processId) {
    HWND owner = GetClipboardOwner();
    if (!owner) return true;
    DWORD ownerProcess = 0;
    GetWindowThreadProcessId(owner, &ownerProcess);
    return ownerProcess == processId;
}

GridCopy failed(GridCopyOutcome outcome) {
    return GridCopy{outcome, {}};
}

}  // namespace

GridCopy copyGridText(HWND grid) {
    if (!IsWindow(grid)) return failed(GridCopyOutcome::NotAnswering);
    const ClientOf client = clientOf(grid);
    if (findCaptcha(client.processId)) return failed(GridCopyOutcome::CaptchaShown);
    if (!sendToWindow(grid, WM_NULL, 0, 0)) return failed(GridCopyOutcome::NotAnswering);

    SavedClipboard investors;
    if (!investors.take()) return failed(GridCopyOutcome::ClipboardBusy);
    const DWORD sequence = GetClipboardSequenceNumber();
    bool changed = copyByKeys(grid, sequence, client.processId);
    if (!changed && !findCaptcha(client.processId)) {
        const std::optional<bool> byMenu = copyByMenu(grid, sequence, client.processId);
        if (!byMenu) return failed(GridCopyOutcome::NotAnswering);
        changed = *byMenu;
    }
    if (!changed) {
        if (findCaptcha(client.processId)) return failed(GridCopyOutcome::CaptchaShown);
        return failed(IsIconic(client.root) ? GridCopyOutcome::ClientMinimised
                                            : GridCopyOutcome::NothingCopied);
    }
    // Another program's copy made meanwhile is the investor's newest content: it stays.
    if (!ownedByClient(client.processId)) return failed(GridCopyOutcome::NothingCopied);
    std::optional<std::wstring> text = clipboardUnicodeText();
    if (!investors.restore() || !text) return failed(GridCopyOutcome::ClipboardBusy);
    return GridCopy{GridCopyOutcome::Copied, std::move(*text)};
}
