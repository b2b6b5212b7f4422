#pragma once
// The pages with a report-view list: positions (持仓), pending orders (撤单) and the day's
// trades (查询). The orders page's first button is its 撤单 button.
#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "simclient/page_panel.h"

namespace halyard::simclient {

class ClientApp;

enum class ListKind { Positions, Orders, Trades };

class ListPage : public PagePanel {
public:
    ListPage(ClientApp& app, ListKind kind, std::vector<std::wstring> columns);
    ~ListPage() override;
    ListPage(const ListPage&) = delete;
    ListPage& operator=(const ListPage&) = delete;

    bool create(HWND frame, const RECT& area);
    HWND panel() const override { return panel_; }
    HWND list() const { return list_; }
    void refresh() override;

private:
    static INT_PTR CALLBACK procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK listProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    INT_PTR handle(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT answerCell(HWND list, WPARAM wParam, LPARAM lParam);
    void createControls();
    void setRows(const std::vector<std::vector<std::wstring>>& rows, const std::vector<int>& ids);
    std::optional<int> selectedId() const;
    const char* listName() const;

    ClientApp& app_;
    ListKind kind_;
    std::vector<std::wstring> columns_;
    HWND panel_ = nullptr;
    HWND list_ = nullptr;
    WNDPROC listBase_ = nullptr;
    std::vector<int> rowIds_;
    bool updating_ = false;
    int cellsAnswered_ = 0;  // to other programs
    bool reversed_ = false;
};

}  // namespace halyard::simclient
