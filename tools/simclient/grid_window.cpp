#include "simclient/grid_window.h"

#include <algorithm>

#include "simclient/client_app.h"
#include "simclient/grid_list_page.h"
#include "simclient/grid_order_page.h"
#include "simclient/virtual_grid.h"

namespace halyard::simclient {
namespace {

constexpr int kTreeWidth = 170, kGap = 4;

const wchar_t* pageName(GridPage page) {
    switch (page) {
        case GridPage::Buy:
            return L"buy";
        case GridPage::Sell:
            return L"sell";
        case GridPage::Cancel:
            return L"cancel";
        case GridPage::Positions:
            return L"positions";
        case GridPage::Orders:
            return L"orders";
        case GridPage::Trades:
            return L"trades";
    }
    return L"";
}

}  // namespace

bool GridShell::create(HWND main, HWND frame) {
    main_ = main;
    frame_ = frame;
    if (!VirtualGrid::registerClass() || !createTree(frame)) return false;
    copies_ = std::make_unique<GridCopyDesk>(app_, main);
    return true;
}

RECT GridShell::pageArea() const {
    RECT client{0, 0, 0, 0};
    if (frame_) GetClientRect(frame_, &client);
    return RECT{kTreeWidth + kGap, kGap, std::max<LONG>(kTreeWidth + kGap, client.right),
                std::max<LONG>(kGap, client.bottom)};
}

void GridShell::layOut(const RECT& frameArea) {
    if (tree_) MoveWindow(tree_, 0, 0, kTreeWidth, frameArea.bottom, TRUE);
    const RECT area = pageArea();
    for (auto& page : pages_)
        if (page && page->panel())
            MoveWindow(page->panel(), area.left, area.top, area.right - area.left, area.bottom - area.top,
                       TRUE);
}

std::unique_ptr<PagePanel> GridShell::makePage(GridPage page, const RECT& area) {
    if (page == GridPage::Buy || page == GridPage::Sell) {
        auto form = std::make_unique<GridOrderPage>(app_, page == GridPage::Buy ? Side::Buy : Side::Sell);
        if (!form->create(frame_, area)) return nullptr;
        return form;
    }
    const GridListKind kind = page == GridPage::Positions ? GridListKind::Positions
                              : page == GridPage::Orders  ? GridListKind::Orders
                              : page == GridPage::Cancel  ? GridListKind::Cancel
                                                          : GridListKind::Trades;
    auto list = std::make_unique<GridListPage>(app_, *copies_, kind);
    if (!list->create(frame_, area)) return nullptr;
    return list;
}

void GridShell::show(GridPage page) {
    auto& slot = pages_[static_cast<size_t>(page)];
    if (!slot) slot = makePage(page, pageArea());
    if (!slot) return;
    slot->refresh();
    for (auto& other : pages_)
        if (other && other != slot) ShowWindow(other->panel(), SW_HIDE);
    ShowWindow(slot->panel(), SW_SHOW);
    current_ = page;
    app_.journal(JournalLine("page_opened").text("page", pageName(page)));
}

bool GridShell::preTranslate(MSG& message) {
    const HWND target = message.hwnd;
    if (message.message == WM_KEYDOWN && message.wParam >= VK_F1 && message.wParam <= VK_F5 &&
        (target == main_ || IsChild(main_, target)))
        return functionKey(message.wParam);
    if (HWND captcha = copies_ ? copies_->captchaWindow() : nullptr)
        if ((target == captcha || IsChild(captcha, target)) && IsDialogMessageW(captcha, &message))
            return true;
    const PagePanel* page = current_ ? pages_[static_cast<size_t>(*current_)].get() : nullptr;
    return page && IsChild(page->panel(), target) && IsDialogMessageW(page->panel(), &message);
}

void GridShell::refresh() {
    for (auto& page : pages_)
        if (page) page->refresh();
}

void GridShell::destroyPages() {
    // With no item selected, the next selection of any item makes its page again.
    if (tree_) SendMessageW(tree_, TVM_SELECTITEM, TVGN_CARET, 0);
    for (auto& page : pages_) page.reset();
    current_.reset();
}

std::wstring GridShell::currentName() const {
    return current_ ? pageName(*current_) : L"none";
}

}  // namespace halyard::simclient
