#pragma once
// The executor of grid clients: pages reached through the client's tree menu, lists read by
// copying its drawn grids, orders placed through its form and answered pop-ups. It works on the
// same snapshot store as the list-view executor. The copy captcha is the investor's: it is
// reported, never answered, and the executor goes on by itself once it is gone.
#include <windows.h>

#include <array>
#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "broker/client_contact.h"
#include "broker/grid_copier.h"
#include "broker/grid_popups.h"
#include "broker/messenger_driver.h"
#include "broker/order_executor.h"
#include "broker/position_snapshot_store.h"
#include "brokerconfig/broker_config.h"

class GridOrderExecutor : public OrderExecutor, public ClientContact {
public:
    GridOrderExecutor() = default;
    ~GridOrderExecutor() override = default;
    GridOrderExecutor(const GridOrderExecutor&) = delete;
    GridOrderExecutor& operator=(const GridOrderExecutor&) = delete;

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
    // The part still open of that code's orders of that direction, from the last orders copy.
    float pendingOrderQuantity(const wchar_t* code, int32_t direction) override;
    bool cancelOrder(const wchar_t* code, int32_t direction) override;
    // Copies the positions grid only when its content must have changed; between copies the
    // prices of the ruled stocks come from the sell form's quote.
    void refreshPositions() override;
    void setRuledCodes(const std::vector<std::wstring>& codes) override;
    int detectBroker() override;
    int isConnected() override;
    int sendFetionSms(const wchar_t* phoneNumber, const wchar_t* text) override;
    int sendQqMessage(const wchar_t* windowTitle, const wchar_t* text) override;
    int autoConfigure() override;
    int hasOrdersList() override;
    WindowHandle findClientMainWindow() override;

    std::vector<std::wstring> takeClientNotices() override;
    // A 委托确认 of Halyard's own press that did not close on its 是: no other order goes in
    // until it is answered.
    bool ownOrderAwaitingConfirmation() override;
    std::wstring positionsReadFailure() override;

    // A visible top-level window of another program whose tree menu leads to the buy, sell,
    // 撤单 and positions pages; null when none.
    static HWND findUnknownClient();
    // The configuration of the client `main`, learnt by visiting its pages and copying its
    // grids once; null when it could not be learnt (lastErrorText says why). `pagesFound` gets
    // the LearntPage bits of what was recognised.
    std::unique_ptr<BrokerConfig> learn(HWND main, unsigned& pagesFound);

    void setMessengerDriver(std::unique_ptr<MessengerDriver> driver) { messengers_ = std::move(driver); }
    int32_t lastErrorCode() const { return lastError_; }
    DWORD clientProcessId() const { return processId_; }
    // How long a copy of the positions stays good without a known change; 5 minutes by default:
    // every copy brings the client's captcha nearer.
    void setCopyInterval(DWORD ms) { copyIntervalMs_ = ms; }

private:
    // What an order's form is filled with; an empty price keeps the client's quote.
    struct OrderTexts {
        std::wstring code, price, quantity;
    };

    // Under lock_.
    int discover(const BrokerConfig& config);
    bool connectedNow() const;
    HWND showPage(GridPage page);
    HWND gridOn(HWND page, const BrokerConfig& config) const;
    GridCopy copyPage(GridPage page, const BrokerConfig& config);
    void copyPositions(const BrokerConfig& config);
    // False when no price could be read for any ruled stock held.
    bool refreshQuotes(const BrokerConfig& config);
    bool learnSellForm(BrokerConfig& config);
    bool learnColumns(BrokerConfig& config);
    bool copyOrders(GridPage page, const BrokerConfig& config);
    // Why a copy failed, in the journal's words; a captcha is reported once as well.
    std::wstring copyFailure(GridCopyOutcome outcome);
    int32_t placeOrder(GridPage page, const wchar_t* side, const OrderTexts& order);
    int32_t answerOrder(const wchar_t* side, const OrderTexts& order);
    int32_t reportAnswer(const OrderAnswer& answer);
    // A confirmation of Halyard's own order left open gets its 是 again, and its answer journalled.
    void settleOwnConfirmation();
    bool selectOrderRow(HWND grid, size_t row, size_t rows);
    bool confirmCancelOf(const OrderRow& order);
    bool cancelShownGone(const OrderRow& order, const BrokerConfig& config);
    int32_t fail(int32_t code, std::wstring text = {});
    void addNotice(std::wstring text);
    void setReadFailure(std::wstring text);
    std::optional<PositionRow> heldPosition(const wchar_t* code);

    std::mutex lock_;
    HWND main_ = nullptr;
    HWND tree_ = nullptr;
    DWORD processId_ = 0;
    std::array<uint64_t, kGridPageCount> items_{};
    HWND sellPage_ = nullptr;
    int32_t lastError_ = 1;
    std::wstring errorText_;
    bool positionsDue_ = true;
    bool ordersDue_ = true;
    bool captchaReported_ = false;
    DWORD lastCopyTick_ = 0;
    DWORD lastOrdersCopyTick_ = 0;
    DWORD lastRefreshTick_ = 0;
    DWORD lastSellTick_ = 0;
    DWORD lastBuyTick_ = 0;
    DWORD copyIntervalMs_ = 300000;
    // Empty until the monitor names them: then every held stock is priced.
    std::optional<std::set<std::wstring>> ruledCodes_;
    std::atomic<HWND> ownConfirmation_{nullptr};
    std::wstring ownOrderHead_;
    std::unique_ptr<MessengerDriver> messengers_;

    std::mutex noticeLock_;
    std::vector<std::wstring> notices_;
    std::wstring readFailure_;
};
