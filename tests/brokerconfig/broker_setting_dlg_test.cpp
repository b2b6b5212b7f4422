// The broker settings dialog through its window: the configurations in store order, the typed
// window name lost on a selection change, OK's question, 增加 with its copy, the empty store, a
// grid configuration with its rename and the delete of another, and the store saved as soon as
// the dialog closes after a change.
#include "brokerconfig/broker_setting_dlg.h"
#include "common/control_text.h"

#include <gtest/gtest.h>

#include "broker_dialog_test_support.h"
#include "brokerconfig/broker_detection.h"
#include "res/resource.h"

namespace {

class BrokerSettingTest : public BrokerDialogTest {
protected:
    HWND open(CBrokerSetting& dialog) {
        run = std::make_unique<halyard::ModalDialogThread>(dialog);
        window = run->waitForDialog();
        return window;
    }
    void select(int index) {
        SendMessageW(GetDlgItem(window, IDC_BROKER_SELECT), CB_SETCURSEL, static_cast<WPARAM>(index), 0);
        PostMessageW(window, WM_COMMAND, MAKEWPARAM(IDC_BROKER_SELECT, CBN_SELCHANGE),
                     reinterpret_cast<LPARAM>(GetDlgItem(window, IDC_BROKER_SELECT)));
        ASSERT_TRUE(run->settle());
    }
    std::wstring selected() const {
        HWND combo = GetDlgItem(window, IDC_BROKER_SELECT);
        const auto index = SendMessageW(combo, CB_GETCURSEL, 0, 0);
        if (index < 0) return L"(none)";
        wchar_t text[64] = {};
        SendMessageW(combo, CB_GETLBTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text));
        return text;
    }
    // The dialog opened on top of this one (new broker, editor), or null.
    HWND nested() { return run->waitForMessageBox(); }

    std::unique_ptr<halyard::ModalDialogThread> run;
    HWND window = nullptr;
};

TEST_F(BrokerSettingTest, OpensOnTheCurrentOneAndASelectionChangeDropsTheTypedName) {
    addConfig(L"甲证券", L"甲证券交易系统");
    BrokerConfig* second = addConfig(L"乙证券", L"乙证券网上交易");
    store->current = second;
    CBrokerSetting dialog;
    ASSERT_TRUE(open(dialog));
    EXPECT_EQ(halyard::controlText(window), L"券商软件设置");
    EXPECT_EQ(SendMessageW(GetDlgItem(window, IDC_BROKER_SELECT), CB_GETCOUNT, 0, 0), 2);
    EXPECT_EQ(selected(), L"乙证券");
    EXPECT_EQ(run->text(IDC_WINDOW_NAME), L"乙证券网上交易");

    run->setText(IDC_WINDOW_NAME, L"乙证券新版");
    select(0);
    EXPECT_EQ(run->text(IDC_WINDOW_NAME), L"甲证券交易系统");
    select(1);
    EXPECT_EQ(run->text(IDC_WINDOW_NAME), L"乙证券网上交易");
    run->click(IDCANCEL);
    ASSERT_TRUE(run->waitForEnd());
    EXPECT_EQ(second->windowName, L"乙证券网上交易");
    EXPECT_FALSE(dialog.storeChanged());
    EXPECT_EQ(fileText(), L"");  // nothing changed, nothing written
}

TEST_F(BrokerSettingTest, OkAsksBeforeSwitchingAndKeepsTheNameWhateverTheAnswer) {
    BrokerConfig* first = addConfig(L"甲证券", L"甲证券交易系统");
    BrokerConfig* second = addConfig(L"乙证券", L"乙证券网上交易");
    store->current = first;
    CBrokerSetting dialog;
    dialog.clientConnected = true;  // detection stays on offer while connected
    ASSERT_TRUE(open(dialog));
    EXPECT_TRUE(IsWindowVisible(GetDlgItem(window, IDC_DETECT_BROKER)));
    select(1);
    run->setText(IDC_WINDOW_NAME, L"");
    run->click(IDOK);
    EXPECT_EQ(run->answerMessageBox(IDOK), L"必须输入券商窗口名称");
    EXPECT_TRUE(run->running());
    run->setText(IDC_WINDOW_NAME, L"乙证券2026");
    run->click(IDOK);
    EXPECT_EQ(run->answerMessageBox(IDCANCEL), L"你已经更改当前券商配置，是否保存?");
    ASSERT_TRUE(run->waitForEnd());
    EXPECT_EQ(run->result(), IDOK);
    EXPECT_EQ(store->current, first);
    EXPECT_EQ(second->windowName, L"乙证券2026");
    EXPECT_FALSE(dialog.currentConfigChanged());
    // Saved the moment the dialog closed.
    EXPECT_NE(fileText().find(L"WindowName=\"乙证券2026\" Name=\"乙证券\""), std::wstring::npos);

    CBrokerSetting switching;
    ASSERT_TRUE(open(switching));
    EXPECT_EQ(selected(), L"甲证券");
    select(1);
    run->click(IDOK);
    EXPECT_EQ(run->answerMessageBox(IDOK), L"你已经更改当前券商配置，是否保存?");
    ASSERT_TRUE(run->waitForEnd());
    EXPECT_EQ(store->current, second);
    EXPECT_TRUE(switching.currentConfigChanged());
    EXPECT_NE(fileText().find(L"Select=\"乙证券\""), std::wstring::npos);
}

TEST_F(BrokerSettingTest, AnAddedCopyStaysAfterCancelWithTheSourcesWindowName) {
    addConfig(L"甲证券", L"甲证券交易系统");
    BrokerConfig* source = addConfig(L"乙证券", L"乙证券网上交易");
    store->current = source;
    CBrokerSetting dialog;
    ASSERT_TRUE(open(dialog));
    run->click(IDC_ADD_BROKER);
    HWND add = nested();
    ASSERT_TRUE(add);
    EXPECT_EQ(halyard::controlText(add), L"新建券商配置");
    SetWindowTextW(GetDlgItem(add, IDC_NEW_BROKER_NAME), L"丙证券");
    SendMessageW(GetDlgItem(add, IDC_NEW_BROKER_SOURCE), CB_SETCURSEL, 1, 0);
    PostMessageW(GetDlgItem(add, IDOK), BM_CLICK, 0, 0);
    ASSERT_TRUE(run->settle());
    EXPECT_FALSE(IsWindow(add));
    EXPECT_EQ(selected(), L"丙证券");
    EXPECT_EQ(run->text(IDC_WINDOW_NAME), L"");  // the title must be typed before OK
    run->click(IDCANCEL);
    ASSERT_TRUE(run->waitForEnd());

    const BrokerConfig* copy = store->findByName(L"丙证券");
    ASSERT_TRUE(copy);
    EXPECT_NE(copy, source);
    EXPECT_EQ(copy->windowName, L"乙证券网上交易");
    EXPECT_EQ(copy->buttonPositionList(), source->buttonPositionList());
    EXPECT_EQ(copy->positionOwnNames(), source->positionOwnNames());
    EXPECT_EQ(store->current, source);
    EXPECT_NE(fileText().find(L"Name=\"丙证券\""), std::wstring::npos);
}

TEST_F(BrokerSettingTest, AnEmptyStoreGetsAnEmptyConfigurationAndOkWithoutOneChangesNothing) {
    CBrokerSetting untouched;
    ASSERT_TRUE(open(untouched));
    EXPECT_EQ(selected(), L"(none)");
    run->click(IDOK);
    ASSERT_TRUE(run->waitForEnd());
    EXPECT_TRUE(store->brokers().empty());
    EXPECT_FALSE(untouched.storeChanged());

    CBrokerSetting dialog;
    ASSERT_TRUE(open(dialog));
    run->click(IDC_ADD_BROKER);
    HWND add = nested();
    ASSERT_TRUE(add);
    SetWindowTextW(GetDlgItem(add, IDC_NEW_BROKER_NAME), L"新券商");
    PostMessageW(GetDlgItem(add, IDOK), BM_CLICK, 0, 0);
    ASSERT_TRUE(run->settle());
    run->setText(IDC_WINDOW_NAME, L"新券商交易系统");
    run->click(IDOK);
    EXPECT_EQ(run->answerMessageBox(IDOK), L"你已经更改当前券商配置，是否保存?");
    ASSERT_TRUE(run->waitForEnd());
    ASSERT_EQ(store->brokers().size(), 1u);
    const BrokerConfig* made = store->current;
    ASSERT_TRUE(made);
    EXPECT_EQ(made->name, L"新券商");
    EXPECT_EQ(made->windowName, L"新券商交易系统");
    EXPECT_TRUE(made->buttonPositionList().empty());
    EXPECT_TRUE(made->positionTitles().empty());
    EXPECT_TRUE(dialog.currentConfigChanged());
    EXPECT_NE(fileText().find(L"<ButtonPositions/>"), std::wstring::npos);
}

TEST_F(BrokerSettingTest, AGridOneIsListedWithItsFamilyWithoutEditorsAndRenamedAnotherDeleted) {
    addConfig(L"甲证券", L"甲证券交易系统");
    BrokerConfig* grid = addConfig(L"乙证券", L"网上股票交易系统5.0");
    grid->family = ClientFamily::Grid;
    store->current = grid;
    CBrokerSetting dialog;
    dialog.clientConnected = true;
    ASSERT_TRUE(open(dialog));
    EXPECT_EQ(selected(), L"乙证券（网格）");
    const auto editors = {IDC_SET_BUTTONS, IDC_SET_POSITION_COLUMNS, IDC_SET_COMMIT_COLUMNS};
    EXPECT_EQ(enabled(*run, editors), L"000");
    run->click(IDC_DELETE_BROKER);
    EXPECT_EQ(run->answerMessageBox(IDOK), L"券商软件正通过这个配置连接，不能删除正在使用的券商配置");

    run->click(IDC_RENAME_BROKER);
    HWND rename = nested();
    ASSERT_TRUE(rename);
    const struct {
        const wchar_t* name;
        const wchar_t* refusal;  // null: accepted
    } names[] = {{L"甲证券", L"甲证券 已经存在"}, {L"", L"必须输入券商名称"}, {L"丙证券", nullptr}};
    for (const auto& step : names) {
        SetWindowTextW(GetDlgItem(rename, IDC_RENAMED_BROKER_NAME), step.name);
        PostMessageW(GetDlgItem(rename, IDOK), BM_CLICK, 0, 0);
        ASSERT_TRUE(run->settle());
        const std::wstring shown = step.refusal ? run->answerMessageBox(IDOK) : L"";
        EXPECT_EQ(shown, step.refusal ? step.refusal : L"");
        EXPECT_EQ(IsWindow(rename) != FALSE, step.refusal != nullptr);
    }
    EXPECT_EQ(selected(), L"丙证券（网格）");

    select(0);
    EXPECT_EQ(enabled(*run, editors), L"111");
    run->click(IDC_DELETE_BROKER);
    EXPECT_EQ(run->answerMessageBox(IDOK), L"确定要删除券商配置 甲证券 吗?");
    ASSERT_TRUE(run->settle());
    EXPECT_EQ(selected(), L"丙证券（网格）");  // back on the one in use
    run->click(IDCANCEL);
    ASSERT_TRUE(run->waitForEnd());
    ASSERT_EQ(store->brokers().size(), 1u);
    EXPECT_EQ(store->current, grid);
    EXPECT_EQ(grid->name, L"丙证券");
    EXPECT_FALSE(dialog.currentConfigChanged());
    const std::wstring file = fileText();
    EXPECT_EQ(file.find(L"甲证券"), std::wstring::npos);
    EXPECT_NE(file.find(L"Select=\"丙证券\""), std::wstring::npos);
}

class ScriptedDetection : public BrokerDetection {
public:
    int learnt = 0, connected = 1;
    std::wstring learntName;  // when set, the layout learnt goes into the store as the executor does
    int autoConfigure() override {
        if (!learntName.empty())
            BrokerConfigStore::instance()->addAsCurrent(
                std::make_unique<BrokerConfig>(learntName, learntName + L"交易"));
        return learnt;
    }
    int connect() override { return connected; }
    unsigned learntPages() const override { return 0; }
};

class RecordingOwner : public BrokerSettingOwner {
public:
    int cleared = 0, refreshed = 0;
    std::wstring brokerErrorText() override { return L"找不到券商软件主窗口"; }
    void clearNeverFoundValidBroker() override { ++cleared; }
    bool isInitializing() const override { return false; }
    void refreshList() override { ++refreshed; }
};

TEST_F(BrokerSettingTest, AFailedDetectionKeepsTheDialogOpenASuccessfulOneTellsTheMainWindow) {
    store->current = addConfig(L"甲证券", L"甲证券交易系统");
    ScriptedDetection detection;
    RecordingOwner owner;
    CBrokerSetting dialog(nullptr, &detection);
    dialog.clientConnected = true;
    dialog.mainWindow = &owner;
    ASSERT_TRUE(open(dialog));
    run->click(IDC_DETECT_BROKER);
    EXPECT_EQ(run->answerMessageBox(IDCANCEL),
              L"券商软件已经连接。检测券商会自动点击券商软件的各个页面，是否继续?");
    ASSERT_TRUE(run->settle());
    EXPECT_FALSE(run->currentMessageBox());  // declined: no detection runs
    const std::wstring failed = L"无法自动检测到券商软件";
    auto failureShown = [&] {
        run->click(IDC_DETECT_BROKER);
        run->answerMessageBox(IDOK);
        HWND box = nullptr;  // the detection dialog shows first
        for (int i = 0; i < 500 && !box; ++i, Sleep(20)) {
            HWND shown = run->currentMessageBox();
            if (shown && halyard::messageBoxText(shown).rfind(failed, 0) == 0) box = shown;
        }
        const std::wstring text = box ? halyard::messageBoxText(box) : L"";
        if (box) halyard::pressMessageBoxButton(box, IDOK);
        return text;
    };
    EXPECT_EQ(failureShown(),
              L"无法自动检测到券商软件\n请确保360等安全软件没有运行网购模式\n1.你可以重新启动助手试试.\n"
              L"2.如果重启助手也没用,可以手工配置券商.?\n错误信息:找不到券商软件主窗口");
    ASSERT_TRUE(run->settle());
    EXPECT_TRUE(run->running());
    EXPECT_EQ(owner.cleared, 0);
    EXPECT_FALSE(dialog.storeChanged());

    // A layout learnt, then no connection: the list shows the store as it now is.
    detection.learnt = 1;
    detection.connected = 0;
    detection.learntName = L"乙证券";
    EXPECT_NE(failureShown().find(L"错误信息:"), std::wstring::npos);
    EXPECT_EQ(SendMessageW(GetDlgItem(window, IDC_BROKER_SELECT), CB_GETCOUNT, 0, 0), 2);
    EXPECT_EQ(selected(), L"乙证券");
    EXPECT_EQ(run->text(IDC_WINDOW_NAME), L"乙证券交易");
    EXPECT_TRUE(dialog.storeChanged());  // OK then asks nothing: the selection is the current one

    detection.connected = 1;
    run->click(IDC_DETECT_BROKER);
    run->answerMessageBox(IDOK);
    ASSERT_TRUE(run->waitForEnd());
    EXPECT_EQ(run->result(), IDCANCEL);
    EXPECT_EQ(owner.cleared, 1);
    EXPECT_EQ(owner.refreshed, 1);
    EXPECT_FALSE(dialog.currentConfigChanged());  // detection connected already
}

}  // namespace
