#include <utility>

#include "broker/grid_copy_text.h"
#include "broker/grid_order_executor.h"
#include "broker/grid_order_form.h"
#include "broker/number_text.h"
#include "brokerconfig/broker_config_store.h"

namespace {

constexpr DWORD kRefreshSpacingMs = 3000 - 250;  // a monitor tick of 3 s may come a little early
constexpr DWORD kQuoteWaitMs = 1500;
constexpr size_t kMostQuotesPerRead = 60;

std::wstring joined(const StringList& titles) {
    std::wstring text;
    for (const std::wstring& title : titles) text += (text.empty() ? L"" : L", ") + title;
    return text;
}

// The cells that follow the price, as the client would show them at that price.
void priceRow(PositionRow& row, float price) {
    row.currentPrice = price;
    row.marketValue = price * static_cast<float>(row.quantity);
    row.profit = (price - row.costPrice) * static_cast<float>(row.quantity);
    if (row.costPrice > 0) row.profitPercent = (price - row.costPrice) / row.costPrice * 100.0f;
}

void storePositions(const PositionRows& rows, bool complete) {
    PositionsByCode byCode;
    for (const PositionRow& row : rows) byCode.emplace(row.code, row);
    PositionSnapshotStore::instance()->replacePositions(std::move(byCode), rows, complete);
}

}  // namespace

void GridOrderExecutor::refreshPositions() {
    std::lock_guard<std::mutex> hold(lock_);
    const BrokerConfig* config = BrokerConfigStore::instance()->current;
    if (!config || config->family != ClientFamily::Grid) {
        setReadFailure(L"没有选定券商配置, 无法读取持仓");
        return;
    }
    const DWORD now = GetTickCount();
    if (!positionsDue_ && !ownConfirmation_ && now - lastRefreshTick_ < kRefreshSpacingMs) return;
    if (!connectedNow() && !discover(*config)) {
        setReadFailure(L"找不到券商软件或它的菜单");
        return;
    }
    lastRefreshTick_ = now;
    settleOwnConfirmation();
    if (positionsDue_ || now - lastCopyTick_ >= copyIntervalMs_) {
        copyPositions(*config);
    } else if (!refreshQuotes(*config)) {
        setReadFailure(L"券商软件没有给出持仓股票的最新价");
    } else {
        setReadFailure({});
    }
}

GridCopy GridOrderExecutor::copyPage(GridPage page, const BrokerConfig& config) {
    HWND grid = gridOn(showPage(page), config);
    if (!grid) return GridCopy{GridCopyOutcome::NotAnswering, {}};
    GridCopy copy = copyGridText(grid);
    // A copy went through: any captcha is answered, and the next one is reported again.
    if (copy.outcome == GridCopyOutcome::Copied) captchaReported_ = false;
    return copy;
}

void GridOrderExecutor::copyPositions(const BrokerConfig& config) {
    const GridCopy copy = copyPage(GridPage::Positions, config);
    if (copy.outcome != GridCopyOutcome::Copied) {
        setReadFailure(copyFailure(copy.outcome));
        // The captcha stops copies only: the prices still come from the form.
        if (copy.outcome == GridCopyOutcome::CaptchaShown && refreshQuotes(config)) setReadFailure({});
        return;
    }
    const GridCopyRead read = readCopiedPositions(copy.text, config);
    if (read.status != GridCopyStatus::Read) {
        setReadFailure(L"持仓表格缺少这些列: " + joined(read.missing));
        return;
    }
    storePositions(read.rows, true);
    positionsDue_ = false;
    lastCopyTick_ = GetTickCount();
    setReadFailure({});
}

void GridOrderExecutor::setRuledCodes(const std::vector<std::wstring>& codes) {
    std::lock_guard<std::mutex> hold(lock_);
    ruledCodes_.emplace(codes.begin(), codes.end());
}

bool GridOrderExecutor::refreshQuotes(const BrokerConfig& config) {
    PositionRows rows = PositionSnapshotStore::instance()->copyPositionRows();
    if (rows.empty()) return PositionSnapshotStore::instance()->positionsGeneration() > 0;
    // The client rebuilds its pages: a sell page that went is shown, and so made, again.
    if (!sellPage_ || !IsWindow(sellPage_) || !IsChild(main_, sellPage_))
        sellPage_ = showPage(GridPage::Sell);
    if (!sellPage_) return false;
    bool priced = false;
    size_t asked = 0;
    {
        // Put back as found when it goes out of scope; nothing is pressed.
        GridOrderForm form(sellPage_, formIdsOf(config.grid));
        for (size_t i = 0; i < rows.size() && asked < kMostQuotesPerRead; ++i) {
            if (ruledCodes_ && !ruledCodes_->count(rows[i].code)) continue;
            ++asked;
            const std::optional<std::wstring> quoted = form.quote(rows[i].code, kQuoteWaitMs);
            // The investor is typing in the form: this cycle keeps the prices it has.
            if (form.lastOutcome() == FormOutcome::Busy) return false;
            const std::optional<float> price = quoted ? readCellDecimal(*quoted) : std::nullopt;
            if (!price || *price <= 0) continue;
            priceRow(rows[i], *price);
            priced = true;
        }
    }
    if (priced) storePositions(rows, PositionSnapshotStore::instance()->positionsComplete());
    // No ruled stock held: nothing to price, and the read is as fresh as the last copy.
    return priced || asked == 0;
}

bool GridOrderExecutor::copyOrders(GridPage page, const BrokerConfig& config) {
    const GridCopy copy = copyPage(page, config);
    if (copy.outcome != GridCopyOutcome::Copied) {
        copyFailure(copy.outcome);
        return false;
    }
    const GridCopyRead read = readCopiedOrders(copy.text, config);
    if (read.status != GridCopyStatus::Read) {
        addNotice(L"委托表格缺少这些列: " + joined(read.missing));
        return false;
    }
    PositionSnapshotStore::instance()->replaceOrders(read.rows);
    ordersDue_ = false;
    lastOrdersCopyTick_ = GetTickCount();
    return true;
}

std::wstring GridOrderExecutor::copyFailure(GridCopyOutcome outcome) {
    switch (outcome) {
        case GridCopyOutcome::CaptchaShown:
            // Once per captcha: the investor is asked, and asked once.
            if (!captchaReported_) addNotice(kCaptchaNotice);
            captchaReported_ = true;
            return kCaptchaNotice;
        case GridCopyOutcome::ClientMinimised:
            return L"券商软件最小化时表格无法复制, 请把它还原";
        case GridCopyOutcome::ClipboardBusy:
            return L"剪贴板被别的程序占用, 表格没有复制";
        case GridCopyOutcome::NothingCopied:
            return L"券商软件的表格没有复制出内容";
        default:
            return L"券商软件没有响应, 表格读取失败";
    }
}

void GridOrderExecutor::addNotice(std::wstring text) {
    std::lock_guard<std::mutex> hold(noticeLock_);
    notices_.push_back(std::move(text));
}

void GridOrderExecutor::setReadFailure(std::wstring text) {
    std::lock_guard<std::mutex> hold(noticeLock_);
    readFailure_ = std::move(text);
}

std::wstring GridOrderExecutor::positionsReadFailure() {
    std::lock_guard<std::mutex> hold(noticeLock_);
    return readFailure_;
}

std::vector<std::wstring> GridOrderExecutor::takeClientNotices() {
    std::lock_guard<std::mutex> hold(noticeLock_);
    return std::exchange(notices_, {});
}

std::optional<PositionRow> GridOrderExecutor::heldPosition(const wchar_t* code) {
    refreshPositions();
    const PositionsByCode positions = PositionSnapshotStore::instance()->copyPositionsByCode();
    const auto found = positions.find(code ? code : L"");
    if (found == positions.end()) return std::nullopt;
    return found->second;
}

float GridOrderExecutor::positionCostPrice(const wchar_t* code) {
    const std::optional<PositionRow> row = heldPosition(code);
    return row ? row->costPrice : 0;
}

float GridOrderExecutor::positionProfitPercent(const wchar_t* code) {
    const std::optional<PositionRow> row = heldPosition(code);
    return row ? row->profitPercent : 0;
}

float GridOrderExecutor::hasPosition(const wchar_t* code) {
    return heldPosition(code) ? 1 : 0;
}

float GridOrderExecutor::positionQuantity(const wchar_t* code) {
    const std::optional<PositionRow> row = heldPosition(code);
    return row ? static_cast<float>(row->quantity) : 0;
}

float GridOrderExecutor::positionMarketValue(const wchar_t* code) {
    const std::optional<PositionRow> row = heldPosition(code);
    return row ? row->marketValue : 0;
}

float GridOrderExecutor::positionSpareValue(const wchar_t* code) {
    const std::optional<PositionRow> row = heldPosition(code);
    return row ? row->spareValue : 0;
}

float GridOrderExecutor::positionSellableQuantity(const wchar_t* code) {
    const std::optional<PositionRow> row = heldPosition(code);
    return row ? static_cast<float>(row->sellableQuantity) : 0;
}
