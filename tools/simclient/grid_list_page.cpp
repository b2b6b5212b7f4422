#include "simclient/grid_list_page.h"

#include "simclient/client_app.h"
#include "simclient/column_cells.h"
#include "simclient/grid_copy.h"
#include "simclient/grid_ids.h"
#include "simclient/window_helpers.h"

namespace halyard::simclient {
namespace {

constexpr int kButtonTop = 8, kButtonHeight = 28;

int gridTop(GridListKind kind) {
    return kind == GridListKind::Cancel ? kButtonTop + kButtonHeight + 8 : 8;
}

}  // namespace

GridListPage::GridListPage(ClientApp& app, GridCopyDesk& copies, GridListKind kind)
    : app_(app),
      copies_(copies),
      kind_(kind),
      grid_(app.font(),
            VirtualGrid::Handlers{
                [this](VirtualGrid& grid) {
                    copies_.copyAsked(gridName(), grid.copyText(), grid.copyRowCount());
                },
                [this](VirtualGrid&) {
                    app_.journal(
                        JournalLine("copy_refused").text("grid", gridName()).text("reason", L"no_ctrl"));
                },
                [this](VirtualGrid&, int row) {
                    app_.journal(JournalLine("row_selected").text("list", gridName()).number("row", row));
                }}) {}

GridListPage::~GridListPage() {
    if (panel_) {
        SetWindowLongPtrW(panel_, DWLP_USER, 0);
        DestroyWindow(panel_);
    }
}

const wchar_t* GridListPage::gridName() const {
    switch (kind_) {
        case GridListKind::Positions:
            return L"positions";
        case GridListKind::Orders:
            return L"orders";
        case GridListKind::Cancel:
            return L"cancel";
        case GridListKind::Trades:
            return L"trades";
    }
    return L"";
}

const std::vector<std::wstring>& GridListPage::columns() const {
    if (kind_ == GridListKind::Positions) return app_.options().positionsColumns;
    if (kind_ == GridListKind::Trades) return gridTradesColumns();
    return app_.options().ordersColumns;
}

bool GridListPage::create(HWND frame, const RECT& area) {
    panel_ = createDialogWindow(frame, WS_CHILD | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | DS_CONTROL,
                                WS_EX_CONTROLPARENT, procedure, reinterpret_cast<LPARAM>(this));
    if (!panel_) return false;
    createControls();
    MoveWindow(panel_, area.left, area.top, area.right - area.left, area.bottom - area.top, FALSE);
    refresh();
    return true;
}

void GridListPage::createControls() {
    HFONT font = app_.font();
    if (kind_ == GridListKind::Cancel) {
        addControl(panel_, L"Button", L"撤单", WS_TABSTOP, 10, kButtonTop, 80, kButtonHeight,
                   kGridCancelButton, font);
        addControl(panel_, L"Button", L"全撤", WS_TABSTOP, 100, kButtonTop, 80, kButtonHeight,
                   kGridCancelAllButton, font);
        addControl(panel_, L"Button", L"刷新", WS_TABSTOP, 190, kButtonTop, 80, kButtonHeight,
                   kGridRefreshButton, font);
    }
    grid_.create(panel_, kGridControl);
}

INT_PTR CALLBACK GridListPage::procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        auto* self = reinterpret_cast<GridListPage*>(lParam);
        self->panel_ = window;
        SetWindowLongPtrW(window, DWLP_USER, lParam);
        return FALSE;
    }
    auto* self = reinterpret_cast<GridListPage*>(GetWindowLongPtrW(window, DWLP_USER));
    return self ? self->handle(message, wParam, lParam) : FALSE;
}

INT_PTR GridListPage::handle(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_SIZE: {
            const int top = gridTop(kind_);
            if (grid_.window())
                MoveWindow(grid_.window(), 10, top, LOWORD(lParam) - 20, HIWORD(lParam) - top - 10, TRUE);
            return TRUE;
        }
        case WM_COMMAND:
            if (HIWORD(wParam) != BN_CLICKED) return FALSE;
            if (LOWORD(wParam) == kGridCancelButton) app_.requestCancel(grid_.currentId());
            if (LOWORD(wParam) == kGridCancelAllButton) app_.requestCancelAll();
            if (LOWORD(wParam) == kGridRefreshButton) app_.refreshPages();
            return TRUE;
        default:
            return FALSE;
    }
}

void GridListPage::refresh() {
    const Market& market = app_.market();
    const std::vector<std::wstring>& titles = columns();
    std::vector<std::vector<std::wstring>> rows;
    std::vector<int> ids;
    auto addRow = [&](auto cell, const auto& item, int id) {
        std::vector<std::wstring> row;
        for (const auto& title : titles) row.push_back(cell(title, market, item));
        rows.push_back(std::move(row));
        ids.push_back(id);
    };
    if (app_.loggedIn()) {
        if (kind_ == GridListKind::Positions) {
            int index = 0;
            for (const auto& p : market.positions()) addRow(positionCell, p, index++);
        } else if (kind_ == GridListKind::Trades) {
            for (const auto& t : market.trades()) addRow(tradeCell, t, t.orderId);
        } else {
            for (const auto& o : market.pendingOrders()) addRow(orderCell, o, o.id);
        }
    }
    grid_.setContent(titles, std::move(rows), std::move(ids));
}

}  // namespace halyard::simclient
