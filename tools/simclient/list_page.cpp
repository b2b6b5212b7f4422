#include "simclient/list_page.h"

#include <commctrl.h>

#include <algorithm>

#include "common/c_format.h"
#include "simclient/client_app.h"
#include "simclient/column_cells.h"
#include "simclient/journal.h"
#include "simclient/window_helpers.h"

namespace halyard::simclient {
namespace {

constexpr int kCancelId = 101, kCancelAllId = 102, kRefreshId = 103, kListId = 200;
constexpr int kButtonTop = 8, kButtonHeight = 30, kListTop = 46;

}  // namespace

ListPage::ListPage(ClientApp& app, ListKind kind, std::vector<std::wstring> columns)
    : app_(app), kind_(kind), columns_(std::move(columns)) {}

ListPage::~ListPage() {
    if (list_ && listBase_) {
        SetWindowLongPtrW(list_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(listBase_));
        RemovePropW(list_, L"HalyardSimListPage");
    }
    if (panel_) {
        SetWindowLongPtrW(panel_, DWLP_USER, 0);
        DestroyWindow(panel_);
    }
}

const char* ListPage::listName() const {
    switch (kind_) {
        case ListKind::Positions:
            return "positions";
        case ListKind::Orders:
            return "orders";
        case ListKind::Trades:
            return "trades";
    }
    return "";
}

LRESULT CALLBACK ListPage::listProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<ListPage*>(GetPropW(window, L"HalyardSimListPage"));
    if (!self) return DefWindowProcW(window, message, wParam, lParam);
    // Only other programs are told the claimed count; the client's own code sees the real one.
    if (message == LVM_GETITEMCOUNT && InSendMessage()) {
        if (self->app_.listsLoading()) return 0;
        if (self->app_.claimedRows() > 0) return self->app_.claimedRows();
    }
    if (message == LVM_GETITEMTEXTW && InSendMessage()) return self->answerCell(window, wParam, lParam);
    return CallWindowProcW(self->listBase_, window, message, wParam, lParam);
}

LRESULT ListPage::answerCell(HWND list, WPARAM wParam, LPARAM lParam) {
    const int cell = ++cellsAnswered_;
    const ClientOptions& options = app_.options();
    auto listed = [cell](const std::vector<int>& cells) {
        return std::find(cells.begin(), cells.end(), cell) != cells.end();
    };
    if (listed(options.lateCells)) Sleep(ClientOptions::kLateCellMs);
    const LRESULT answer = CallWindowProcW(listBase_, list, LVM_GETITEMTEXTW, wParam, lParam);
    if (listed(options.lateCells)) app_.journal(JournalLine("late_cell_answered").number("cell", cell));
    if (listed(options.resortAfterCells)) {
        reversed_ = !reversed_;
        refresh();
        app_.journal(JournalLine("list_resorted").number("cell", cell));
    }
    return answer;
}

bool ListPage::create(HWND frame, const RECT& area) {
    panel_ = createDialogWindow(frame, WS_CHILD | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | DS_CONTROL,
                                WS_EX_CONTROLPARENT, procedure, reinterpret_cast<LPARAM>(this));
    if (!panel_) return false;
    createControls();
    MoveWindow(panel_, area.left, area.top, area.right - area.left, area.bottom - area.top, FALSE);
    refresh();
    return true;
}

void ListPage::createControls() {
    HFONT font = app_.font();
    if (kind_ == ListKind::Orders) {
        // Some clients put 全撤 first.
        const bool cancelAllFirst = app_.options().hasVariant(L"cancel-all-first");
        if (cancelAllFirst)
            addControl(panel_, L"Button", L"全撤", WS_TABSTOP, 100, kButtonTop, 80, kButtonHeight,
                       kCancelAllId, font);
        addControl(panel_, L"Button", L"撤单", WS_TABSTOP, 10, kButtonTop, 80, kButtonHeight, kCancelId,
                   font);
        if (!cancelAllFirst)
            addControl(panel_, L"Button", L"全撤", WS_TABSTOP, 100, kButtonTop, 80, kButtonHeight,
                       kCancelAllId, font);
        addControl(panel_, L"Button", L"刷新", WS_TABSTOP, 190, kButtonTop, 80, kButtonHeight, kRefreshId,
                   font);
    } else {
        addControl(panel_, L"Button", L"刷新", WS_TABSTOP, 10, kButtonTop, 80, kButtonHeight, kRefreshId,
                   font);
    }
    list_ = addControl(panel_, WC_LISTVIEWW, L"",
                       WS_TABSTOP | WS_BORDER | LVS_REPORT | LVS_SHOWSELALWAYS | LVS_SINGLESEL, 10, kListTop,
                       400, 200, kListId, font);
    ListView_SetExtendedListViewStyle(list_, LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES);
    if (kind_ == ListKind::Positions) {
        SetPropW(list_, L"HalyardSimListPage", this);
        listBase_ = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrW(list_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(listProcedure)));
    }
    for (size_t i = 0; i < columns_.size(); ++i) {
        LVCOLUMNW column = {};
        column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
        column.pszText = const_cast<wchar_t*>(columns_[i].c_str());
        column.cx = columns_[i].size() > 4 ? 96 : 80;
        column.iSubItem = static_cast<int>(i);
        SendMessageW(list_, LVM_INSERTCOLUMNW, i, reinterpret_cast<LPARAM>(&column));
    }
}

INT_PTR CALLBACK ListPage::procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        auto* self = reinterpret_cast<ListPage*>(lParam);
        self->panel_ = window;
        SetWindowLongPtrW(window, DWLP_USER, lParam);
        return FALSE;
    }
    auto* self = reinterpret_cast<ListPage*>(GetWindowLongPtrW(window, DWLP_USER));
    return self ? self->handle(message, wParam, lParam) : FALSE;
}

INT_PTR ListPage::handle(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_SIZE:
            if (list_)
                MoveWindow(list_, 10, kListTop, LOWORD(lParam) - 20, HIWORD(lParam) - kListTop - 10, TRUE);
            return TRUE;
        case WM_COMMAND:
            if (HIWORD(wParam) != BN_CLICKED) return FALSE;
            switch (LOWORD(wParam)) {
                case kCancelId:
                    app_.requestCancel(selectedId());
                    break;
                case kCancelAllId:
                    app_.requestCancelAll();
                    break;
                case kRefreshId:
                    app_.refreshPages();
                    break;
                default:
                    break;
            }
            return TRUE;
        case WM_NOTIFY: {
            const auto* header = reinterpret_cast<const NMHDR*>(lParam);
            if (header->hwndFrom == list_ && header->code == LVN_ITEMCHANGED && !updating_) {
                const auto* change = reinterpret_cast<const NMLISTVIEW*>(lParam);
                if ((change->uChanged & LVIF_STATE) && (change->uNewState & LVIS_SELECTED) &&
                    !(change->uOldState & LVIS_SELECTED))
                    app_.journal(JournalLine("row_selected")
                                     .text("list", widenAscii(listName()))
                                     .number("row", change->iItem));
            }
            return FALSE;
        }
        default:
            return FALSE;
    }
}

std::optional<int> ListPage::selectedId() const {
    const int row =
        static_cast<int>(SendMessageW(list_, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
    if (row < 0 || static_cast<size_t>(row) >= rowIds_.size()) return std::nullopt;
    return rowIds_[static_cast<size_t>(row)];
}

void ListPage::refresh() {
    if (!list_) return;
    const Market& market = app_.market();
    std::vector<std::vector<std::wstring>> rows;
    std::vector<int> ids;
    if (app_.loggedIn()) {
        const bool separators = app_.options().hasVariant(L"thousands-separators");
        auto addRow = [&](auto cell, const auto& item, int id) {
            std::vector<std::wstring> row;
            for (const auto& title : columns_) {
                std::wstring text = cell(title, market, item);
                // Codes and contract numbers are digits too, but no client groups them.
                const bool number = title != L"证券代码" && title != L"合同编号";
                row.push_back(separators && number ? withThousandsSeparators(text) : text);
            }
            rows.push_back(std::move(row));
            ids.push_back(id);
        };
        if (kind_ == ListKind::Positions) {
            for (const auto& p : market.positions()) addRow(positionCell, p, 0);
            if (reversed_) std::reverse(rows.begin(), rows.end());
        } else if (kind_ == ListKind::Orders) {
            for (const auto& o : market.pendingOrders()) addRow(orderCell, o, o.id);
        } else {
            for (const auto& t : market.trades()) addRow(tradeCell, t, t.orderId);
        }
    }
    setRows(rows, ids);
}

void ListPage::setRows(const std::vector<std::vector<std::wstring>>& rows, const std::vector<int>& ids) {
    // Rows are updated in place so that a selected order stays selected while prices move.
    const std::optional<int> selected = kind_ == ListKind::Orders ? selectedId() : std::nullopt;
    updating_ = true;
    int count = static_cast<int>(SendMessageW(list_, LVM_GETITEMCOUNT, 0, 0));
    while (count > static_cast<int>(rows.size()))
        SendMessageW(list_, LVM_DELETEITEM, static_cast<WPARAM>(--count), 0);
    for (size_t r = 0; r < rows.size(); ++r) {
        if (static_cast<int>(r) >= count) {
            LVITEMW item = {};
            item.mask = LVIF_TEXT;
            item.iItem = static_cast<int>(r);
            item.pszText = const_cast<wchar_t*>(L"");
            SendMessageW(list_, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
            ++count;
        }
        for (size_t c = 0; c < rows[r].size(); ++c) {
            LVITEMW item = {};
            item.iSubItem = static_cast<int>(c);
            item.pszText = const_cast<wchar_t*>(rows[r][c].c_str());
            SendMessageW(list_, LVM_SETITEMTEXTW, r, reinterpret_cast<LPARAM>(&item));
        }
        if (kind_ == ListKind::Orders) {
            const bool select = selected && ids[r] == *selected;
            ListView_SetItemState(list_, static_cast<int>(r), select ? LVIS_SELECTED : 0, LVIS_SELECTED);
        }
    }
    rowIds_ = ids;
    updating_ = false;
}

}  // namespace halyard::simclient
