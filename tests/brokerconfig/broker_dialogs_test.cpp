// The new-broker and detection dialogs through their real windows; detection against the
// practice client.
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "broker/position_snapshot_store.h"
#include "broker/zszq_order_executor.h"
#include "brokerconfig/add_broker_config_dlg.h"
#include "brokerconfig/auto_check_broker_dlg.h"
#include "brokerconfig/broker_config_store.h"
#include "common/control_text.h"
#include "common/text_encoding.h"
#include "res/resource.h"
#include "support/dialog_test_support.h"
#include "support/sim_client_process.h"
#include "support/temp_folder.h"

namespace {

class BrokerDialogs : public DialogTest {
protected:
    void SetUp() override {
        DialogTest::SetUp();
        BrokerConfigStore::setFolder(folder.folder());
    }
    void TearDown() override {
        ZsZqOrderExecutor::destroyInstance();
        BrokerConfigStore::destroyInstance();
        PositionSnapshotStore::destroyInstance();
    }

    TempFolder folder;
};

std::wstring comboItem(HWND combo, int index) {
    wchar_t text[64] = {};
    SendMessageW(combo, CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(text));
    return text;
}

TEST_F(BrokerDialogs, NewBrokerNameIsCheckedAndTheSourceComesFromTheList) {
    BrokerConfigStore* store = BrokerConfigStore::instance();
    for (const wchar_t* name : {L"甲", L"乙", L"Abc"}) store->add(std::make_unique<BrokerConfig>(name, name));

    CAddBrokerConfigDlg dialog;
    halyard::ModalDialogThread run(dialog);
    HWND window = run.waitForDialog();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(halyard::controlText(window), L"新建券商配置");
    HWND combo = GetDlgItem(window, IDC_NEW_BROKER_SOURCE);
    ASSERT_EQ(SendMessageW(combo, CB_GETCOUNT, 0, 0), 3);
    EXPECT_EQ(comboItem(combo, 2), L"Abc");
    EXPECT_EQ(SendMessageW(combo, CB_GETCURSEL, 0, 0), 0);

    struct Try {
        const wchar_t* name;
        const wchar_t* refusal;
    };
    for (const Try& t :
         {Try{L"", L"必须输入券商名称"}, Try{L"乙", L"乙 已经存在"}, Try{L"Abc", L"Abc 已经存在"}}) {
        run.setText(IDC_NEW_BROKER_NAME, t.name);
        SendMessageW(combo, CB_SETCURSEL, 1, 0);
        run.click(IDOK);
        EXPECT_EQ(answerMessageBox(run), t.refusal);
        ASSERT_TRUE(run.settle());
        EXPECT_TRUE(run.running()) << halyard::toUtf8(t.name);
    }
    run.setText(IDC_NEW_BROKER_NAME, L"abc");  // differs only in case: a new name
    run.click(IDOK);
    ASSERT_TRUE(run.waitForEnd());
    EXPECT_EQ(run.result(), IDOK);
    EXPECT_EQ(dialog.nameText, L"abc");
    EXPECT_EQ(dialog.sourceIndex, 1);
}

TEST_F(BrokerDialogs, NewBrokerWithAnEmptyStoreHasNoSource) {
    CAddBrokerConfigDlg dialog;
    halyard::ModalDialogThread run(dialog);
    ASSERT_NE(run.waitForDialog(), nullptr);
    run.setText(IDC_NEW_BROKER_NAME, L"新券商");
    run.click(IDOK);
    ASSERT_TRUE(run.waitForEnd());
    EXPECT_EQ(dialog.sourceIndex, -1);
}

TEST(DetectionDots, GrowOneAtATimeUpTo34ThenStartOver) {
    EXPECT_EQ(CAutoCheckBrokerDlg::nextDots(L"."), L"..");
    EXPECT_EQ(CAutoCheckBrokerDlg::nextDots(std::wstring(33, L'.')), std::wstring(34, L'.'));
    EXPECT_EQ(CAutoCheckBrokerDlg::nextDots(std::wstring(34, L'.')), L".");
    EXPECT_EQ(CAutoCheckBrokerDlg::pagesText(kLearntBuy | kLearntPositions), L"买入 ✓ 卖出 … 持仓 ✓ 撤单 …");
}

// The sweep finds all four pages, but the buy form lacks a label, so connect fails.
TEST_F(BrokerDialogs, DetectionDialogIgnoresEnterEscAndCloseAndFailsWhenConnectFailsAfterASuccessfulSweep) {
    halyard::testing::SimClientProcess client({L"--title", L"模拟证券交易系统", L"--toolbar-offset", L"5",
                                               L"--button-width", L"16", L"--variant", L"buy-9-statics"});
    ASSERT_TRUE(client.started()) << halyard::toUtf8(client.error());
    CAutoCheckBrokerDlg dialog(*ZsZqOrderExecutor::instance());
    halyard::ModalDialogThread run(dialog);
    HWND window = run.waitForDialog();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(halyard::controlText(window), L"正在检测券商");
    EXPECT_EQ(run.text(IDC_DETECTION_PAGES), L"买入 … 卖出 … 持仓 … 撤单 …");

    std::vector<std::wstring> dots{run.text(IDC_DETECTION_DOTS)};
    for (DWORD start = GetTickCount(); dots.size() < 3 && GetTickCount() - start < 15000; Sleep(50)) {
        const std::wstring now = run.text(IDC_DETECTION_DOTS);
        if (now != dots.back()) dots.push_back(now);
    }
    EXPECT_EQ(dots, (std::vector<std::wstring>{L".", L"..", L"..."}));

    run.command(IDOK);      // Enter
    run.command(IDCANCEL);  // Esc
    PostMessageW(window, WM_SYSCOMMAND, SC_CLOSE, 0);
    ASSERT_TRUE(run.settle());
    EXPECT_TRUE(run.running());

    std::wstring pages;
    for (DWORD start = GetTickCount(); run.running() && GetTickCount() - start < 60000; Sleep(100)) {
        const std::wstring now = run.text(IDC_DETECTION_PAGES);
        if (!now.empty()) pages = now;
    }
    ASSERT_TRUE(run.waitForEnd());
    EXPECT_EQ(pages, L"买入 ✓ 卖出 ✓ 持仓 ✓ 撤单 ✓");
    EXPECT_EQ(run.result(), IDOK);
    EXPECT_FALSE(dialog.succeeded);
    EXPECT_EQ(ZsZqOrderExecutor::instance()->lastErrorCode(), -16);
    // The learnt layout is kept; the executor goes on with the configuration it had (none).
    EXPECT_EQ(BrokerConfigStore::instance()->current, nullptr);
    ASSERT_EQ(BrokerConfigStore::instance()->brokers().size(), 1u);
    EXPECT_EQ(BrokerConfigStore::instance()->brokers().front()->name, L"模拟证券交易系统");
}

}  // namespace
