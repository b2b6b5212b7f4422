#include "simclient/client_app.h"

#include "common/c_format.h"
#include "simclient/command_text.h"
#include "simclient/grid_window.h"
#include "simclient/market_commands.h"

namespace halyard::simclient {
namespace {

constexpr DWORD kLongestHangMs = 600000;

}  // namespace

CommandReply ClientApp::runCommand(const std::wstring& text) {
    journal(JournalLine("command").text("text", text));
    const std::vector<std::wstring> words = splitCommand(text);
    if (words.empty()) return {false, L"empty command"};
    const std::wstring& name = words[0];
    if (auto fault = runFaultCommand(words)) return *fault;
    MarketCommandResult market = runMarketCommand(market_, words, now());
    if (market.handled) {
        for (const auto& o : market.cancelled) journalCancelled(o);
        journalTrades(market.trades);
        if (market.ok) refreshPages();
        return {market.ok, market.reply};
    }
    if (name == L"hang") {
        int64_t ms = 0;
        if (words.size() != 2 || !parseWholeInteger(words[1], ms) || ms < 0 || ms > kLongestHangMs)
            return {false, L"usage: hang MS (at most 600000)"};
        // Answer first: the sender must not hang with the client.
        PostMessageW(main_, kHangMessage, static_cast<WPARAM>(ms), 0);
        return {true, L"ok"};
    }
    if (name == L"hang-on-press") {
        int64_t ms = 0;
        if (words.size() != 2 || !parseWholeInteger(words[1], ms) || ms < 0 || ms > kLongestHangMs)
            return {false, L"usage: hang-on-press MS (at most 600000)"};
        pressHangMs_ = static_cast<DWORD>(ms);
        return {true, L"ok"};
    }
    if (name == L"claim-rows" && words.size() == 2) {
        int64_t rows = 0;
        if (!parseWholeInteger(words[1], rows) || rows < 0 || rows > 100000000)
            return {false, L"usage: claim-rows N"};
        claimedRows_ = static_cast<int>(rows);
        return {true, L"ok"};
    }
    if (name == L"loading" && words.size() == 2 && (words[1] == L"on" || words[1] == L"off")) {
        listsLoading_ = words[1] == L"on";
        return {true, L"ok"};
    }
    if (name == L"destroy-panels" && words.size() == 1) {
        destroyPanels();
        return {true, L"ok"};
    }
    if ((name == L"logout" || name == L"login") && words.size() == 1) {
        loggedIn_ = name == L"login";
        refreshPages();
        return {true, L"ok"};
    }
    if (name == L"popup") {
        if (words.size() < 3) return {false, L"usage: popup TITLE TEXT"};
        std::wstring body;
        for (size_t i = 2; i < words.size(); ++i) body += (i > 2 ? L" " : L"") + words[i];
        showPopup(words[1], body, {L"确认"});
        return {true, L"ok"};
    }
    if (name == L"status" && words.size() == 1) {
        std::wstring reply = loggedIn_ ? L"logged_in" : L"logged_out";
        reply += L" page=" + (grid_      ? grid_->currentName()
                              : current_ ? widenAscii(pageName(*current_))
                                         : std::wstring(L"none"));
        reply += L" positions=" + std::to_wstring(market_.positions().size());
        reply += L" orders=" + std::to_wstring(market_.pendingOrders().size());
        reply += L" popups=" + std::to_wstring(popups_.size());
        reply += L" cash=" + wcformat("%.2f", market_.cash());
        return {true, reply};
    }
    if (name == L"captcha" && words.size() == 2) {
        // The investor types the code into the open captcha and presses 确定.
        if (!grid_ || !grid_->typeCaptcha(words[1])) return {false, L"no captcha is open"};
        return {true, L"ok"};
    }
    if (name == L"quit" && words.size() == 1) {
        PostMessageW(main_, WM_CLOSE, 0, 0);
        return {true, L"ok"};
    }
    return {false, L"unknown command: " + name};
}

}  // namespace halyard::simclient
