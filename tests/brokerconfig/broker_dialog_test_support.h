#pragma once
// The broker dialogs' tests: a store over a test folder with a few configurations.
#include <windows.h>

#include <commctrl.h>

#include <memory>
#include <string>

#include "brokerconfig/broker_config_store.h"
#include "common/file_store.h"
#include "common/text_encoding.h"
#include "support/dialog_test_support.h"
#include "support/grid_probe.h"
#include "support/temp_folder.h"

class BrokerDialogTest : public DialogTest {
protected:
    void SetUp() override {
        DialogTest::SetUp();
        BrokerConfigStore::setFolder(folder.folder());
        store = BrokerConfigStore::instance();
    }
    void TearDown() override { BrokerConfigStore::destroyInstance(); }

    BrokerConfig* addConfig(const std::wstring& name, const std::wstring& windowName) {
        auto config = std::make_unique<BrokerConfig>(name, windowName);
        config->setButtonPositions({{L"买入按钮", 30, 20},
                                    {L"卖出按钮", 90, 20},
                                    {L"撤单按钮", 150, 20},
                                    {L"撤单按钮2", 20, 20},
                                    {L"持仓按钮", 210, 20}});
        config->setPositionColumns({L"证券代码", L"证券名称", L"股东代码", L"当前价"},
                                   {L"证券代码", L"股票", L"", L"当前价"});
        config->setCommitColumns({L"证券代码", L"委托数量"}, {L"证券代码", L"委托数量"});
        return store->add(std::move(config));
    }
    // broker_config.xml as it is on disk now, as text; empty when there is none.
    std::wstring fileText() const {
        std::string bytes;
        if (!halyard::readWholeFile(folder.file(L"broker_config.xml"), bytes)) return {};
        return halyard::fromUtf8(bytes);
    }

    TempFolder folder;
    BrokerConfigStore* store = nullptr;
};

// The grid's column titles, each followed by '|'.
inline std::wstring columnTitles(HWND list) {
    HWND header = reinterpret_cast<HWND>(SendMessageW(list, LVM_GETHEADER, 0, 0));
    std::wstring all;
    for (int column = 0; column < static_cast<int>(SendMessageW(header, HDM_GETITEMCOUNT, 0, 0)); ++column) {
        wchar_t text[64] = {};
        HDITEMW item{};
        item.mask = HDI_TEXT;
        item.pszText = text;
        item.cchTextMax = 64;
        SendMessageW(header, HDM_GETITEMW, static_cast<WPARAM>(column), reinterpret_cast<LPARAM>(&item));
        all += std::wstring(text) + L"|";
    }
    return all;
}
