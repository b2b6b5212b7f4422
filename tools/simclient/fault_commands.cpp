// The live commands that make the client misbehave as real clients do now and then: a close
// and restart with its state kept, a confirmation that takes its time, a storm of notices, a
// positions list that re-sorts itself, a minimised window, cancels turned down; and the
// account's own pending orders.
#include <algorithm>

#include "common/c_format.h"
#include "common/file_store.h"
#include "common/text_encoding.h"
#include "simclient/client_app.h"
#include "simclient/command_text.h"

namespace halyard::simclient {
namespace {

constexpr int64_t kLongestFaultMs = 600000;
constexpr UINT kResortPeriodMs = 250;

bool parseDuration(const std::wstring& text, int64_t& ms) {
    return parseWholeInteger(text, ms) && ms >= 0 && ms <= kLongestFaultMs;
}

std::wstring price(double value) {
    return wcformat("%.2f", value);
}

}  // namespace

std::optional<CommandReply> ClientApp::runFaultCommand(const std::vector<std::wstring>& w) {
    const std::wstring& name = w[0];
    const size_t n = w.size();
    int64_t value = 0;
    if (name == L"order") {
        double limit = 0;
        const bool side = n == 5 && (w[1] == L"sell" || w[1] == L"buy");
        if (!side || !parseNumber(w[3], limit) || limit <= 0 || !parseWholeInteger(w[4], value) || value <= 0)
            return CommandReply{false, L"usage: order sell|buy CODE PRICE QTY"};
        if (!market_.stock(w[2])) return CommandReply{false, L"unknown code " + w[2]};
        const Side s = w[1] == L"sell" ? Side::Sell : Side::Buy;
        if (s == Side::Sell && market_.maxSellable(w[2]) < value)
            return CommandReply{false, L"not that many sellable " + w[2]};
        const int id = market_.place(s, w[2], roundToCent(limit), value, now());
        refreshPages();
        return CommandReply{true, L"order " + std::to_wstring(id)};
    }
    if (name == L"save-state") {
        if (n != 3 || !parseDuration(w[2], value))
            return CommandReply{false, L"usage: save-state PATH AWAY_MS"};
        return CommandReply{saveState(w[1], value), L"ok"};
    }
    if (name == L"hold-confirmation" || name == L"storm-after-order" || name == L"resort" ||
        name == L"refuse-cancels") {
        if (n != 2 || !parseDuration(w[1], value)) return CommandReply{false, L"usage: " + name + L" N"};
        if (name == L"hold-confirmation") heldConfirmationMs_ = static_cast<DWORD>(value);
        if (name == L"storm-after-order") stormNotices_ = static_cast<int>(std::min<int64_t>(value, 50));
        if (name == L"refuse-cancels") refusedCancels_ = static_cast<int>(std::min<int64_t>(value, 50));
        if (name == L"resort") {
            resortUntil_ = GetTickCount() + static_cast<DWORD>(value);
            SetTimer(main_, kResortTimer, kResortPeriodMs, nullptr);
        }
        return CommandReply{true, L"ok"};
    }
    if ((name == L"minimize" || name == L"restore") && n == 1) {
        ShowWindow(main_, name == L"minimize" ? SW_MINIMIZE : SW_RESTORE);
        return CommandReply{true, L"ok"};
    }
    return std::nullopt;
}

bool ClientApp::saveState(const std::wstring& path, int64_t awayMs) {
    // A restarted client shows what the broker's server kept: the stocks, the positions with
    // their pending sells frozen again, the cash; the market steps go on from where they were,
    // those due while it was away at once.
    std::wstring text;
    for (const Stock& s : market_.stocks())
        text += L"stock " + s.code + L" " + s.name + L" " + price(s.price) + L" " + price(s.previousClose) +
                L"\n";
    for (const Position& p : market_.positions()) {
        const Stock* s = market_.stock(p.code);
        text += L"position " + p.code + L" " + (s ? s->name : p.code) + L" " + std::to_wstring(p.quantity) +
                L" " + std::to_wstring(p.sellable + p.frozen) + L" " + wcformat("%.3f", p.cost) + L"\n";
    }
    for (const Order& o : market_.pendingOrders())
        text += std::wstring(L"order ") + (o.side == Side::Sell ? L"sell " : L"buy ") + o.code + L" " +
                price(o.price) + L" " + std::to_wstring(o.quantity) + L"\n";
    text += L"cash " + wcformat("%.2f", market_.cash()) + L"\n";
    const long long resumeAt = journal_.elapsedMs() + awayMs;
    for (size_t i = nextStep_; i < scenario_.steps.size(); ++i)
        text += L"at " + std::to_wstring(std::max(0LL, scenario_.steps[i].atMs - resumeAt)) + L" " +
                scenario_.steps[i].command + L"\n";
    return replaceFileAtomically(path, toUtf8(text));
}

void ClientApp::afterConfirmationShown() {
    if (heldConfirmationMs_ == 0 || popups_.empty()) return;
    popups_.back()->holdFor(heldConfirmationMs_);
    journal(JournalLine("confirmation_held").number("ms", heldConfirmationMs_));
    heldConfirmationMs_ = 0;
}

void ClientApp::afterOrderPlaced() {
    for (int i = 0; i < stormNotices_; ++i)
        notice(L"行情提示 " + std::to_wstring(i + 1) + L": 市场波动加大, 请注意风险");
    if (stormNotices_ > 0) journal(JournalLine("notice_storm").number("notices", stormNotices_));
    stormNotices_ = 0;
}

void ClientApp::resortStep() {
    if (static_cast<LONG>(GetTickCount() - resortUntil_) >= 0) {
        KillTimer(main_, kResortTimer);
        return;
    }
    market_.rotatePositions();
    refreshPages();
}

}  // namespace halyard::simclient
