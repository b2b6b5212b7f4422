#include "simclient/grid_copy.h"

#include <cstring>
#include <memory>

#include "simclient/client_app.h"

namespace halyard::simclient {
namespace {

constexpr int kClipboardAttempts = 20;
constexpr DWORD kClipboardPauseMs = 10;

class OpenedClipboard {
public:
    explicit OpenedClipboard(HWND owner) {
        // Another program may hold it for a moment.
        for (int i = 0; i < kClipboardAttempts && !open_; ++i) {
            open_ = OpenClipboard(owner) != FALSE;
            if (!open_) Sleep(kClipboardPauseMs);
        }
    }
    ~OpenedClipboard() {
        if (open_) CloseClipboard();
    }
    OpenedClipboard(const OpenedClipboard&) = delete;
    OpenedClipboard& operator=(const OpenedClipboard&) = delete;
    bool open() const { return open_; }

private:
    bool open_ = false;
};

struct GlobalMemoryFree {
    void operator()(void* memory) const { GlobalFree(memory); }
};

bool putUnicodeText(HWND owner, const std::wstring& text) {
    OpenedClipboard clipboard(owner);
    if (!clipboard.open() || !EmptyClipboard()) return false;
    const size_t bytes = (text.size() + 1) * sizeof(wchar_t);
    std::unique_ptr<void, GlobalMemoryFree> memory(GlobalAlloc(GMEM_MOVEABLE, bytes));
    void* target = memory ? GlobalLock(memory.get()) : nullptr;
    if (!target) return false;
    std::memcpy(target, text.c_str(), bytes);
    GlobalUnlock(memory.get());
    if (!SetClipboardData(CF_UNICODETEXT, memory.get())) return false;
    memory.release();  // the clipboard owns it now
    return true;
}

}  // namespace

GridCopyDesk::GridCopyDesk(ClientApp& app, HWND owner)
    : app_(app),
      owner_(owner),
      captcha_(app.options().captchaFirst, app.options().captchaEvery,
               GetTickCount() ^ GetCurrentProcessId()) {}

GridCopyDesk::~GridCopyDesk() = default;

void GridCopyDesk::copyAsked(const std::wstring& grid, std::wstring text, int rows) {
    if (dialog_) {
        app_.journal(JournalLine("copy_refused").text("grid", grid).text("reason", L"captcha_open"));
        return;
    }
    const bool needsCode = captcha_.countCopy();
    Copy copy{grid, std::move(text), rows, captcha_.copies()};
    if (needsCode) {
        ask(std::move(copy));
    } else {
        put(copy);
    }
}

void GridCopyDesk::ask(Copy copy) {
    auto dialog = std::make_unique<CaptchaDialog>(
        captcha_.newCode(), app_.font(),
        [this](const std::wstring& typed, bool cancelled) { answered(typed, cancelled); });
    if (!dialog->create(owner_)) {
        app_.journal(JournalLine("copy_failed").text("grid", copy.grid).text("reason", L"no_captcha_window"));
        return;
    }
    app_.journal(JournalLine("captcha_asked")
                     .text("grid", copy.grid)
                     .number("copy", copy.number)
                     .text("code", dialog->code()));
    dialog_ = std::move(dialog);
    waiting_ = std::move(copy);
}

void GridCopyDesk::answered(const std::wstring& typed, bool cancelled) {
    if (!dialog_) return;
    if (cancelled) {
        app_.journal(JournalLine("captcha_cancelled"));
    } else if (typed != dialog_->code()) {
        app_.journal(JournalLine("captcha_answered").number("right", 0).text("typed", typed));
        dialog_->showNewCode(captcha_.newCode());
        app_.journal(JournalLine("captcha_asked")
                         .text("grid", waiting_ ? waiting_->grid : L"")
                         .number("copy", waiting_ ? waiting_->number : 0)
                         .text("code", dialog_->code()));
        return;
    } else {
        app_.journal(JournalLine("captcha_answered").number("right", 1).text("typed", typed));
        if (waiting_) put(*waiting_);
    }
    waiting_.reset();
    dialog_.reset();
}

bool GridCopyDesk::typeCaptcha(const std::wstring& code) {
    if (!dialog_) return false;
    dialog_->typeAndConfirm(code);
    return true;
}

void GridCopyDesk::put(const Copy& copy) {
    if (!putUnicodeText(owner_, copy.text)) {
        app_.journal(JournalLine("copy_failed").text("grid", copy.grid).text("reason", L"clipboard_busy"));
        return;
    }
    app_.journal(JournalLine("grid_copied")
                     .text("grid", copy.grid)
                     .number("rows", copy.rows)
                     .number("copy", copy.number));
}

}  // namespace halyard::simclient
