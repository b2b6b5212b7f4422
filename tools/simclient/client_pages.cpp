#include "simclient/client_app.h"

#include "common/c_format.h"
#include "simclient/grid_window.h"
#include "simclient/list_page.h"
#include "simclient/order_form.h"

namespace halyard::simclient {

bool ClientApp::pageAvailable(Page page) const {
    switch (page) {
        case Page::Buy:
            return !options_.hasVariant(L"no-buy-page");
        case Page::Sell:
            return !options_.hasVariant(L"no-sell-page");
        case Page::Orders:
            return !options_.hasVariant(L"no-orders-page");
        default:
            return true;
    }
}

void ClientApp::toolbarClicked(int index) {
    if (index < kPageCount) {
        openPage(static_cast<Page>(index));
    } else {
        refreshPages();
    }
}

void ClientApp::openPage(Page page) {
    if (!pageAvailable(page) || !frame_) return;
    auto& slot = pages_[static_cast<size_t>(page)];
    if (!slot) {
        const RECT area = panelArea();
        if (page == Page::Buy || page == Page::Sell) {
            auto form = std::make_unique<OrderForm>(*this, page == Page::Buy ? Side::Buy : Side::Sell);
            if (!form->create(frame_, area)) return;
            slot = std::move(form);
        } else {
            const ListKind kind = page == Page::Orders      ? ListKind::Orders
                                  : page == Page::Positions ? ListKind::Positions
                                                            : ListKind::Trades;
            std::vector<std::wstring> columns =
                page == Page::Orders ? options_.ordersColumns
                : page == Page::Positions
                    ? options_.positionsColumns
                    : std::vector<std::wstring>{L"成交时间", L"证券代码", L"证券名称", L"买卖标志",
                                                L"成交价格", L"成交数量", L"成交金额", L"合同编号"};
            auto list = std::make_unique<ListPage>(*this, kind, std::move(columns));
            if (!list->create(frame_, area)) return;
            slot = std::move(list);
        }
    }
    slot->refresh();
    for (auto& other : pages_)
        if (other && other != slot) ShowWindow(other->panel(), SW_HIDE);
    ShowWindow(slot->panel(), SW_SHOW);
    current_ = page;
    toolbar_->setCurrent(static_cast<int>(page));
    journal(JournalLine("page_opened").text("page", widenAscii(pageName(page))));
}

void ClientApp::destroyPanels() {
    if (grid_) {
        grid_->destroyPages();
        return;
    }
    for (auto& page : pages_) page.reset();
    current_.reset();
    toolbar_->setCurrent(-1);
}

void ClientApp::refreshPages() {
    for (auto& page : pages_)
        if (page) page->refresh();
    if (grid_) grid_->refresh();
    updateStatus();
}

}  // namespace halyard::simclient
