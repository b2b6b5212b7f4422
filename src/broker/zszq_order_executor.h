#pragma once
// The process-wide OrderExecutor: drives a list-view client through its windows itself, and hands
// every operation to its grid executor while the configuration in use is a grid client's.
#include <windows.h>

#include <array>
#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <type_traits>
#include <vector>

#include "broker/broker_tables.h"
#include "broker/client_contact.h"
#include "broker/confirm_sweep.h"
#include "broker/grid_order_executor.h"
#include "broker/messenger_driver.h"
#include "broker/order_executor.h"
#include "broker/position_snapshot_store.h"
#include "brokerconfig/broker_config.h"
#include "brokerconfig/broker_detection.h"
#include "common/unique_handle.h"

static_assert(std::is_same_v<WindowHandle, HWND>, "the interface's window handle is the Win32 HWND");

class ZsZqOrderExecutor : public OrderExecutor, public ClientContact, public BrokerDetection {
public:
    // Created on first use; destroyed by the main window's destructor (common/singleton.h).
    static ZsZqOrderExecutor* instance();
    static void destroyInstance();

    ~ZsZqOrderExecutor() override;

    int connect() override;
    const wchar_t* lastErrorText() override;
    int32_t buy(const wchar_t* code, int32_t quantity, float price, float priceOffset) override;
    int32_t sell(const wchar_t* code, int32_t quantity, float price, float priceOffset) override;
    float positionCostPrice(const wchar_t* code) override;
    float positionProfitPercent(const wchar_t* code) override;
    float hasPosition(const wchar_t* code) override;
    float positionQuantity(const wchar_t* code) override;
    float positionMarketValue(const wchar_t* code) override;
    float positionSpareValue(const wchar_t* code) override;
    float positionSellableQuantity(const wchar_t* code) override;
    float pendingOrderQuantity(const wchar_t* code, int32_t direction) override;
    bool cancelOrder(const wchar_t* code, int32_t direction) override;
    void refreshPositions() override;
    // List views show every price at once; only the grid executor asks per code.
    void setRuledCodes(const std::vector<std::wstring>& codes) override { grid->setRuledCodes(codes); }
    int detectBroker() override;
    int isConnected() override;
    int sendFetionSms(const wchar_t* phoneNumber, const wchar_t* text) override;
    int sendQqMessage(const wchar_t* windowTitle, const wchar_t* text) override;
    int autoConfigure() override;
    int learnAndConnect() override;
    int hasOrdersList() override;
    WindowHandle findClientMainWindow() override;

    // The Fetion and QQ drivers the two messenger operations forward to; without them both
    // answer 0. Set before the first alert; each messenger is driven from one alert worker.
    void setMessengerDriver(std::unique_ptr<MessengerDriver> driver);

    int discoverWindows(const BrokerConfig* config);
    void refreshOrders();
    // False when the click could not be posted (no such button, no target window).
    bool clickToolbarButton(ButtonSlot slot);
    int32_t lastErrorCode() const { return lastError; }
    std::vector<std::wstring> takeClientNotices() override;
    bool ownOrderAwaitingConfirmation() override {
        GridOrderExecutor* inUse = gridInUse();
        return inUse ? inUse->ownOrderAwaitingConfirmation() : sweepScope->ownConfirmationOpen();
    }
    std::wstring positionsReadFailure() override;
    // The process of the client main window found by discovery (0 before).
    DWORD clientProcessId() const { return sweepScope->process(); }
    void sweepConfirmDialogs() { ::sweepConfirmDialogs(*sweepScope); }

    // The first window that looks like a list-view client, whatever the configuration in use.
    static HWND listViewClientWindow();
    int learnLayout(int32_t startX);
    // Learns a running grid client no configuration fits; 1 when its configuration was added.
    int learnGridClient();
    static bool isBuyPanel(HWND window);
    static bool isSellPanel(HWND window);
    std::vector<BrokerConfig*> distinctLayouts() const;
    static bool sameLayout(const BrokerConfig& a, const BrokerConfig& b);
    int tryUnknownClient(const std::vector<BrokerConfig*>& candidates);

    // True while a detection runs on some thread: the monitor then keeps away from a
    // configuration that is being replaced.
    bool detectionRunning() const override { return detectionDepth.load() > 0; }
    unsigned learntPages() const override { return learntPageBits.load(); }
    // Called on the detecting thread with each configuration detection adds.
    void setLayoutLearnedListener(std::function<void(const BrokerConfig&)> listener);
    // How long a sweep waits for the client after each toolbar click; 500 ms as real clients
    // need. Only tests against the quick simulated client shorten it.
    void setSweepPause(DWORD ms) { sweepPauseMs = ms; }

private:
    ZsZqOrderExecutor();

    // The grid executor while the configuration in use is a grid client's, else null.
    GridOrderExecutor* gridInUse() const;

    struct Panels {
        HWND buy = nullptr;
        HWND sell = nullptr;
        HWND positions = nullptr;
        HWND orders = nullptr;
    };
    Panels classifyPanels(const std::vector<HWND>& dialogs, const BrokerConfig& config);

    struct OrderForm {
        HWND codeEdit, priceEdit, quantityEdit, orderButton;
        ButtonSlot page;
    };
    // Fills and submits one side's form: 1 when the order button was pressed, else the code of
    // why not (a form window gone, the client not answering, the button not pressed).
    int32_t submitOrder(const OrderForm& form, const wchar_t* code,
                        const std::optional<std::wstring>& priceText,
                        const std::optional<std::wstring>& quantityText);
    // False when an edit did not take the text.
    bool clearForm(const OrderForm& form);
    void clearBuyForm();
    void clearSellForm();
    OrderForm buyForm() const;
    OrderForm sellForm() const;
    // Index of the first order row with that code and direction, or -1.
    static int findOrder(const PositionRows& rows, const std::wstring& code, int32_t direction);
    static int countOrders(const PositionRows& rows, const std::wstring& code, int32_t direction);
    // Reads the orders until fewer of that code and direction show than before the cancel.
    bool cancelShown(const std::wstring& code, int32_t direction, int ordersBefore);
    bool liveOrderMatches(int row, const std::wstring& code, int32_t direction);
    // False when the list held no table (the snapshot keeps the last read).
    bool readOrdersNow(const BrokerConfig& config);
    void noteCutRead(TableRead read, const wchar_t* list);
    void noteLeftBehind(size_t bytes);
    std::optional<PositionRow> heldPosition(const wchar_t* code);

    // Forgets every client window, so that the next discovery's match is its own.
    void forgetClientWindows();
    std::array<HWND*, 15> windowFields();
    // What a failed detection gives back: the client windows, the watched client and the
    // current configuration as they were before it.
    struct Connection {
        std::array<HWND, 15> windows{};
        HWND watched = nullptr;
        BrokerConfig* config = nullptr;
    };
    Connection connection();
    void restore(const Connection& kept);
    BrokerConfig* addLearned(std::unique_ptr<BrokerConfig> config);
    std::wstring clientTitle();

    HWND clientMainWindow = nullptr;
    HWND toolbarWindow = nullptr;
    HWND buyCodeEdit = nullptr;
    HWND buyPriceEdit = nullptr;
    HWND buyQuantityEdit = nullptr;
    HWND buyMaxLabel = nullptr;
    HWND buyOrderButton = nullptr;
    HWND sellCodeEdit = nullptr;
    HWND sellPriceEdit = nullptr;
    HWND sellQuantityEdit = nullptr;
    HWND sellOrderButton = nullptr;
    HWND sellMaxLabel = nullptr;
    HWND positionsList = nullptr;
    HWND ordersList = nullptr;
    HWND cancelButton = nullptr;
    int32_t lastError = 1;
    uint32_t lastPositionsRefresh = 0;
    uint32_t lastOrdersRefresh = 0;
    uint32_t lastBuyTick = 0;
    uint32_t lastSellTick = 0;
    std::mutex lock;
    std::shared_ptr<SweepScope> sweepScope = std::make_shared<SweepScope>();
    bool lastReadCut = false;
    // Why the last positions read failed; set by whichever thread reads (detection connects too).
    enum class ReadFailure { None, NoConfiguration, ListGone, NoAnswer, Hung };
    std::atomic<ReadFailure> readFailure{ReadFailure::None};
    bool leftBehindNoted = false;
    std::unique_ptr<ConfirmSweepWorker> worker;
    std::atomic<int> detectionDepth{0};
    std::atomic<unsigned> learntPageBits{0};
    std::atomic<DWORD> sweepPauseMs{500};
    std::mutex listenerLock;
    std::function<void(const BrokerConfig&)> layoutLearned;
    std::unique_ptr<MessengerDriver> messengers;
    const std::unique_ptr<GridOrderExecutor> grid = std::make_unique<GridOrderExecutor>();
};

// The 3000 ms gap of the throttles, on the 32-bit tick count.
// slackMs lets a caller on a timer of the same period through when its tick comes a little early.
bool throttleElapsed(uint32_t since, uint32_t slackMs = 0);
