#pragma once
// The grid family's list pages: 资金股票 (positions), 当日委托 and 撤单 (open orders), 当日成交
// (trades). Each is a "#32770" child dialog holding one drawn grid (control 1047); the 撤单 page
// also has 撤单, 全撤 and 刷新 above it. 撤单 cancels the grid's current row.
#include <windows.h>

#include <string>
#include <vector>

#include "simclient/page_panel.h"
#include "simclient/virtual_grid.h"

namespace halyard::simclient {

class ClientApp;
class GridCopyDesk;

enum class GridListKind { Positions, Orders, Cancel, Trades };

class GridListPage : public PagePanel {
public:
    GridListPage(ClientApp& app, GridCopyDesk& copies, GridListKind kind);
    ~GridListPage() override;
    GridListPage(const GridListPage&) = delete;
    GridListPage& operator=(const GridListPage&) = delete;

    bool create(HWND frame, const RECT& area);
    HWND panel() const override { return panel_; }
    void refresh() override;

private:
    static INT_PTR CALLBACK procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    INT_PTR handle(UINT message, WPARAM wParam, LPARAM lParam);
    void createControls();
    const wchar_t* gridName() const;
    const std::vector<std::wstring>& columns() const;

    ClientApp& app_;
    GridCopyDesk& copies_;
    GridListKind kind_;
    HWND panel_ = nullptr;
    VirtualGrid grid_;
};

}  // namespace halyard::simclient
