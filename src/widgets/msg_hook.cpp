#include "widgets/msg_hook.h"

#include <commctrl.h>

#include <utility>
#include <vector>

#include "framework/window.h"

namespace {

struct HookState {
    int count = 0;
    DWORD thread = 0;
    HHOOK afterCall = nullptr;
    HHOOK fromQueue = nullptr;
    HookMap map;
};

HookState& hookState() {
    static HookState state;
    return state;
}

// The record of the first window, from `window` up through its parents, that is an editor.
CMsgHook* recordOf(HWND window) {
    const HookMap& map = hookState().map;
    for (HWND at = window; at; at = GetParent(at)) {
        auto found = map.find(at);
        if (found != map.end()) return found->second;
    }
    return nullptr;
}

bool isInside(HWND window, HWND editor) {
    for (HWND at = window; at; at = GetParent(at))
        if (at == editor) return true;
    return false;
}

void endEdit(const CMsgHook& record, bool store) {
    SendMessageW(record.list, kEndEditMessage, store ? 1 : 0, 0);
}

// A click or scroll outside every editor ends each edit whose drop-down is not open.
void endEditsOnOutsideInput(HWND window) {
    if (recordOf(window)) return;
    const std::vector<std::pair<HWND, CMsgHook*>> entries(hookState().map.begin(), hookState().map.end());
    for (const auto& [editor, record] : entries) {
        auto still = hookState().map.find(editor);
        if (still == hookState().map.end() || still->second != record) continue;  // ended meanwhile
        if (!IsWindow(editor) || record->dropped) continue;
        if (SendMessageW(editor, CB_GETDROPPEDSTATE, 0, 0) || SendMessageW(editor, DTM_GETMONTHCAL, 0, 0))
            continue;
        endEdit(*record, true);
    }
}

bool isOutsideInput(UINT message) {
    switch (message) {
        case WM_HSCROLL:
        case WM_VSCROLL:
        case WM_MENUSELECT:
        case WM_LBUTTONDOWN:
        case WM_RBUTTONDOWN:
        case WM_MBUTTONDOWN:
        case WM_MOUSEWHEEL:
            return true;
        default:
            return false;
    }
}

// True when the message ended an edit by a key and must not reach the dialog as well (Enter
// would press its OK button, Escape its Cancel).
bool observe(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    HookMap& map = hookState().map;
    if (message == WM_DESTROY) {
        auto found = map.find(window);
        if (found != map.end()) {
            CMsgHook* record = found->second;
            map.erase(found);
            record->clear();  // abandoned: nothing is stored
        }
    } else if (message == WM_KILLFOCUS) {
        // An editor that is already hidden is being destroyed (or hidden by its owner): that
        // abandons the edit rather than storing it.
        CMsgHook* record = recordOf(window);
        if (record && !record->dropped && IsWindowVisible(record->editor) &&
            !isInside(reinterpret_cast<HWND>(wParam), record->editor))
            endEdit(*record, true);
    } else if (message == WM_NOTIFY) {
        const auto* header = reinterpret_cast<const NMHDR*>(lParam);
        if (header && (header->code == DTN_DROPDOWN || header->code == DTN_CLOSEUP)) {
            if (CMsgHook* record = recordOf(header->hwndFrom)) record->dropped = header->code == DTN_DROPDOWN;
        }
    } else if (message == WM_KEYDOWN) {
        if (wParam == VK_RETURN || wParam == VK_ESCAPE) {
            if (CMsgHook* record = recordOf(window)) {
                endEdit(*record, wParam == VK_RETURN);
                return true;
            }
        }
    } else if (message == WM_COMMAND) {
        const int code = HIWORD(wParam);
        if (code == CBN_DROPDOWN || code == CBN_CLOSEUP) {
            if (CMsgHook* record = recordOf(reinterpret_cast<HWND>(lParam)))
                record->dropped = code == CBN_DROPDOWN;
        }
    } else if (isOutsideInput(message)) {
        endEditsOnOutsideInput(window);
    }
    return false;
}

// Key messages go first to the grids among the window and its parents.
bool preTranslate(MSG& message) {
    if (message.message < WM_KEYFIRST || message.message > WM_KEYLAST) return false;
    for (HWND at = message.hwnd; at; at = GetParent(at)) {
        if (auto* grid = dynamic_cast<PreTranslator*>(halyard::Window::fromHandle(at)))
            if (grid->preTranslateMessage(message)) return true;
    }
    return false;
}

LRESULT CALLBACK afterCallProc(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HC_ACTION) {
        if (const auto* call = reinterpret_cast<const CWPRETSTRUCT*>(lParam))
            observe(call->hwnd, call->message, call->wParam, call->lParam);
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

LRESULT CALLBACK fromQueueProc(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HC_ACTION && wParam == PM_REMOVE) {
        if (auto* message = reinterpret_cast<MSG*>(lParam)) {
            if (preTranslate(*message) ||
                observe(message->hwnd, message->message, message->wParam, message->lParam))
                message->message = WM_NULL;
        }
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

void unhook(HookState& state) {
    if (state.afterCall) UnhookWindowsHookEx(state.afterCall);
    if (state.fromQueue) UnhookWindowsHookEx(state.fromQueue);
    state.afterCall = state.fromQueue = nullptr;
    state.thread = 0;
}

}  // namespace

HookMap& hookMap() {
    return hookState().map;
}

CMsgHook::CMsgHook() {
    ++hookState().count;
}

CMsgHook::~CMsgHook() {
    HookState& state = hookState();
    for (auto entry = state.map.begin(); entry != state.map.end();)
        entry = entry->second == this ? state.map.erase(entry) : std::next(entry);
    if (--state.count == 0) unhook(state);
}

void CMsgHook::clear() {
    editor = nullptr;
    list = nullptr;
    dropped = FALSE;
}

void CMsgHook::enter(HWND editorWindow, HWND listWindow) {
    leave();
    if (!IsWindow(editorWindow) || !IsWindow(listWindow)) return;
    editor = editorWindow;
    list = listWindow;
    dropped = FALSE;
    hookState().map[editor] = this;
}

bool CMsgHook::leave() {
    HookMap& map = hookState().map;
    auto found = editor ? map.find(editor) : map.end();
    if (found == map.end() || found->second != this) return false;
    map.erase(found);
    clear();
    return true;
}

bool CMsgHook::entered() const {
    const HookMap& map = hookState().map;
    auto found = editor ? map.find(editor) : map.end();
    return found != map.end() && found->second == this;
}

void CMsgHook::followThread(DWORD threadId) {
    HookState& state = hookState();
    if (state.count == 0 || (state.thread == threadId && state.afterCall)) return;
    unhook(state);
    state.afterCall = SetWindowsHookExW(WH_CALLWNDPROCRET, afterCallProc, nullptr, threadId);
    state.fromQueue = SetWindowsHookExW(WH_GETMESSAGE, fromQueueProc, nullptr, threadId);
    state.thread = threadId;
}
