#pragma once
// The simulated trading client: main window (class "HalyardSimClient") > frame > host >
// toolbar ("MHPToolBar", "MainViewBar"); the page panels are direct children of the frame.
#include <windows.h>

#include <array>
#include <list>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "common/unique_handle.h"
#include "simclient/client_options.h"
#include "simclient/journal.h"
#include "simclient/market.h"
#include "simclient/order_check.h"
#include "simclient/page.h"
#include "simclient/page_panel.h"
#include "simclient/popup.h"
#include "simclient/scenario.h"
#include "simclient/toolbar.h"
#include "simclient/window_helpers.h"

namespace halyard::simclient {

struct CommandReply {
    bool ok = false;
    std::wstring text;
};

class GridShell;

class ClientApp {
public:
    explicit ClientApp(ClientOptions options);
    ~ClientApp();
    ClientApp(const ClientApp&) = delete;
    ClientApp& operator=(const ClientApp&) = delete;

    // Creates the windows and runs the message loop; the process exit code.
    int run();

    // For the pages.
    const ClientOptions& options() const { return options_; }
    Market& market() { return market_; }
    bool loggedIn() const { return loggedIn_; }
    // How many rows the positions list claims to other programs (0: its real count).
    int claimedRows() const { return claimedRows_; }
    // The "loading on" command: the lists show other programs no rows, as while they still
    // load after a log-in.
    bool listsLoading() const { return listsLoading_; }
    // The "hang-on-press" command: how long the next press of an order button holds the client
    // at its first message (0: not at all); handed out once.
    DWORD takePressHang() { return std::exchange(pressHangMs_, 0); }
    HFONT font() const { return font_.get(); }
    void journal(const JournalLine& line) { journal_.write(line); }
    void submitOrder(Side side, const std::wstring& code, const std::wstring& price,
                     const std::wstring& quantity);
    void requestCancel(std::optional<int> orderId);
    void requestCancelAll();
    void refreshPages();

    CommandReply runCommand(const std::wstring& text);

private:
    // The faults a soak asks for and the account's own orders (fault_commands.cpp).
    std::optional<CommandReply> runFaultCommand(const std::vector<std::wstring>& words);
    bool saveState(const std::wstring& path, int64_t awayMs);
    void afterConfirmationShown();
    void afterOrderPlaced();
    void resortStep();
    static constexpr UINT_PTR kResortTimer = 2;
    DWORD heldConfirmationMs_ = 0;
    int stormNotices_ = 0;
    DWORD resortUntil_ = 0;

private:
    // The "hang" command's message to the client itself; the timer of the scenario's next step.
    static constexpr UINT kHangMessage = WM_APP + 10;
    static constexpr UINT_PTR kScenarioTimer = 1;

    // The message loop, the main window's messages, popups and the status line (client_app.cpp).
    static LRESULT CALLBACK mainProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT handleMain(UINT message, WPARAM wParam, LPARAM lParam);
    bool dialogMessage(MSG& message);
    void showPopup(const std::wstring& title, const std::wstring& text, std::vector<std::wstring> buttons,
                   std::function<void(const std::wstring& button)> then = nullptr);
    void notice(const std::wstring& text);
    void updateStatus();
    std::wstring now() const;

    // The window tree and its layout (client_windows.cpp).
    static LRESULT CALLBACK frameProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    bool registerClasses();
    bool createWindows();
    bool createGridWindows();
    void layOutMain();
    void layOutFrame();
    RECT panelArea() const;

    // The toolbar's pages (client_pages.cpp).
    void toolbarClicked(int index);
    void openPage(Page page);
    bool pageAvailable(Page page) const;
    void destroyPanels();

    // Orders and cancellations through their confirmations (client_order_desk.cpp).
    void journalTrades(const std::vector<Trade>& trades);
    void journalCancelled(const Order& order);
    void refuse(Side side, const std::wstring& code, const std::wstring& price, const std::wstring& quantity,
                const OrderCheck& check);
    void placeConfirmed(Side side, const std::wstring& code, const std::wstring& price,
                        const std::wstring& quantity);
    void cancelConfirmed(int orderId);

    // The scenario's timed steps (client_scenario.cpp); the commands are in client_commands.cpp.
    void startScenario();
    void runDueSteps();
    void scheduleNextStep();

    ClientOptions options_;
    Journal journal_;
    Market market_;
    bool loggedIn_ = true;
    int claimedRows_ = 0;
    bool listsLoading_ = false;
    DWORD pressHangMs_ = 0;
    int refusedCancels_ = 0;  // the next confirmed cancels the client turns down
    UniqueFont font_;
    HWND main_ = nullptr, frame_ = nullptr, host_ = nullptr, status_ = nullptr;
    std::unique_ptr<Toolbar> toolbar_;
    std::unique_ptr<GridShell> grid_;  // the grid family's tree and pages, instead of the toolbar's
    std::array<std::unique_ptr<PagePanel>, kPageCount> pages_;
    std::optional<Page> current_;
    std::list<std::unique_ptr<Popup>> popups_;
    Scenario scenario_;
    size_t nextStep_ = 0;
};

}  // namespace halyard::simclient
