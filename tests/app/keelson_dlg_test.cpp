// The main window driven through its real window, with a fake executor standing in for the
// broker client.
#include <windows.h>

#include <commctrl.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <map>

#include "app/keelson_dlg.h"
#include "app/settings_profile.h"
#include "brokerconfig/broker_config_store.h"
#include "common/control_text.h"
#include "common/file_store.h"
#include "framework/application.h"
#include "res/resource.h"
#include "rules/rule_file.h"
#include "support/dialog_driver.h"
#include "support/fake_executor.h"
#include "support/memory_profile.h"
#include "support/temp_folder.h"

namespace {

PositionRow held(const wchar_t* code, const wchar_t* name, int32_t sellable, float price, float profit) {
    PositionRow row;
    row.code = code;
    row.name = name;
    row.quantity = 1000;
    row.sellableQuantity = sellable;
    row.costPrice = 10.126f;
    row.currentPrice = price;
    row.marketValue = price * 1000;
    row.profit = profit;
    row.profitPercent = profit / 100.0f;
    return row;
}

std::wstring cell(HWND list, int row, int column) {
    wchar_t buffer[128] = {};
    LVITEMW item{};
    item.iSubItem = column;
    item.pszText = buffer;
    item.cchTextMax = 128;
    SendMessageW(list, LVM_GETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
    return buffer;
}

std::wstring columnTitle(HWND list, int column) {
    wchar_t buffer[64] = {};
    LVCOLUMNW info{};
    info.mask = LVCF_TEXT;
    info.pszText = buffer;
    info.cchTextMax = 64;
    SendMessageW(list, LVM_GETCOLUMNW, static_cast<WPARAM>(column), reinterpret_cast<LPARAM>(&info));
    return buffer;
}

bool logged(const CallLog& log, const std::string& call) {
    return std::find(log.begin(), log.end(), call) != log.end();
}

class MainWindowTest : public ::testing::Test {
protected:
    MainWindowTest() : executor(log) {
        halyard::initCommonControls();
        BrokerConfigStore::setFolder(folder.folder());
        executor.clientWindow = reinterpret_cast<WindowHandle>(1);
        PositionSnapshotStore::instance()->clear();
    }

    void hold(const PositionRows& rows) {
        PositionsByCode byCode;
        for (const PositionRow& row : rows) byCode[row.code] = row;
        PositionSnapshotStore::instance()->replacePositions(byCode, rows);
    }

    // The message box that must come up now: its text, after answering it with `button`.
    static std::wstring answer(halyard::ModalDialogThread& run, int button) {
        return run.answerMessageBox(button);
    }

    static void close(halyard::ModalDialogThread& run, HWND window) {
        PostMessageW(window, WM_CLOSE, 0, 0);
        EXPECT_TRUE(run.waitForEnd());
    }

    TempFolder folder;
    MemoryProfile profile;
    CallLog log;
    FakeExecutor executor;
};

TEST_F(MainWindowTest, NoClientShowsOnlyItsMessageAndKeepsTheNeverFoundFlag) {
    executor.clientWindow = nullptr;
    profile.ints[L"NeverFoundValidBroke"] = 0;
    {
        CKeelsonDlg dialog(profile, folder.folder(), &executor);
        halyard::ModalDialogThread run(dialog);
        EXPECT_EQ(answer(run, IDOK), L"券商软件还没运行");
        HWND window = run.waitForDialog();
        ASSERT_NE(window, nullptr);
        EXPECT_EQ(halyard::controlText(window), L"Halyard");
        EXPECT_EQ(run.currentMessageBox(), nullptr);
        EXPECT_FALSE(logged(log, "connect"));
        close(run, window);
    }
    EXPECT_EQ(profile.ints[L"NeverFoundValidBroke"], 0);
    EXPECT_EQ(profile.ints[L"Timer"], 6);
    EXPECT_EQ(profile.ints[L"TraceOrdr"], 1);
}

TEST_F(MainWindowTest, ClientNotMatchingOffersDetectionOnlyOnAFirstStart) {
    executor.connectResult = 0;
    executor.errorText = L"找不到卖出窗口";
    {
        CKeelsonDlg dialog(profile, folder.folder(), &executor);
        halyard::ModalDialogThread run(dialog);
        EXPECT_EQ(answer(run, IDCANCEL),
                  L"券商软件还没运行或者当前配置券商不正确\n1.你可以重新启动助手试试.\n2.如果重启助手也没用,"
                  L"可以手工配置券商.\n"
                  L"是否配置券商?\n错误信息:找不到卖出窗口");
        HWND window = run.waitForDialog();
        ASSERT_NE(window, nullptr);
        close(run, window);
    }
    EXPECT_EQ(profile.ints[L"NeverFoundValidBroke"], 1);

    profile.ints[L"NeverFoundValidBroke"] = 0;
    {
        CKeelsonDlg dialog(profile, folder.folder(), &executor);
        halyard::ModalDialogThread run(dialog);
        EXPECT_EQ(answer(run, IDOK),
                  L"券商软件还没运行或者当前配置券商不正确\n请确保360等安全软件没有运行网购模式\n1."
                  L"你可以重新启动助手试试.\n"
                  L"2.如果重启助手也没用,可以配置券商.?\n错误信息:找不到卖出窗口");
        close(run, run.waitForDialog());
    }

    // OK runs detection; when it fails the reason comes from the executor after detection.
    profile.ints[L"NeverFoundValidBroke"] = 1;
    {
        executor.errorTextAfterDetection = L"无法识别券商软件的买入、卖出或持仓页面";
        CKeelsonDlg dialog(profile, folder.folder(), &executor);
        halyard::ModalDialogThread run(dialog);
        EXPECT_NE(answer(run, IDOK).find(L"错误信息:找不到卖出窗口"), std::wstring::npos);
        std::wstring failure;
        for (DWORD start = GetTickCount(); failure.empty() && GetTickCount() - start < 10000; Sleep(50)) {
            HWND box = run.currentMessageBox();
            const std::wstring text = box ? halyard::messageBoxText(box) : L"";
            if (text.rfind(L"券商软件还没运行", 0) != 0) continue;
            failure = text;
            halyard::pressMessageBoxButton(box, IDOK);
        }
        EXPECT_EQ(
            failure,
            L"券商软件还没运行或者当前配置券商不正确\n请确保360等安全软件没有运行网购模式\n1."
            L"你可以重新启动助手试试.\n"
            L"2.如果重启助手也没用,可以手工配置券商.?\n错误信息:无法识别券商软件的买入、卖出或持仓页面");
        EXPECT_TRUE(logged(log, "autoConfigure"));
        close(run, run.waitForDialog());
    }
    EXPECT_EQ(profile.ints[L"NeverFoundValidBroke"], 1);
}

TEST_F(MainWindowTest, ListShowsPositionsWithTheirRules) {
    RuleTable rules;
    StockRule percent;
    percent.Code = L"600000";
    percent.StopLoss = 5;
    percent.Profit = 10;
    percent.High = 50;
    StockRule absolute;
    absolute.Code = L"000001";
    absolute.StopLoss = 8.5f;
    absolute.StopLossType = 1;
    absolute.Profit = 12;
    absolute.TakeProfitType = 1;
    absolute.ApplyMoveStopLoss = true;
    absolute.MoveStopLoss = 2;
    absolute.High = 50;
    rules[L"600000"] = percent;
    rules[L"000001"] = absolute;
    ASSERT_TRUE(saveRules(folder.folder(), rules));
    hold({held(L"600000", L"浦发银行", 1000, 9.87f, 1234.4f), held(L"000001", L"平安银行", 300, 11.0f, -5.0f),
          held(L"600519", L"贵州茅台", 0, 1800.0f, 0.0f)});
    executor.ordersList = 0;

    CKeelsonDlg dialog(profile, folder.folder(), &executor);
    halyard::ModalDialogThread run(dialog);
    HWND window = run.waitForDialog();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(run.currentMessageBox(), nullptr);
    HWND list = GetDlgItem(window, IDC_POSITION_LIST);
    ASSERT_EQ(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0), 3);
    EXPECT_FALSE(run.isEnabled(IDC_TRACE_ORDER));

    const wchar_t* titles[] = {L"",     L"股票",  L"数量",   L"可卖数量", L"成本价", L"市值",
                               L"盈亏", L"盈亏%", L"当前价", L"止盈",     L"止损",   L"跟踪止损"};
    for (int c = 0; c < 12; ++c) EXPECT_EQ(columnTitle(list, c), titles[c]) << c;
    EXPECT_EQ(SendMessageW(list, LVM_GETCOLUMNWIDTH, 0, 0), 0);

    const std::wstring first[] = {L" ",    L"浦发银行", L"1000", L"1000",   L"10.13",  L"9870",
                                  L"1234", L"12.34%",   L"9.87", L"10.00%", L"-5.00%", L"未启用"};
    for (int c = 0; c < 12; ++c) EXPECT_EQ(cell(list, 0, c), first[c]) << c;
    EXPECT_EQ(cell(list, 1, 9), L"12.00元");
    EXPECT_EQ(cell(list, 1, 10), L"8.50元");
    EXPECT_EQ(cell(list, 1, 11), L"-2.00%");
    EXPECT_EQ(cell(list, 2, 3), L"0");
    for (int c = 9; c < 12; ++c) EXPECT_EQ(cell(list, 2, c), L" ") << c;
    EXPECT_EQ(cell(list, 3, 1), L"");  // beyond the rows: no text

    // 帮助 looks beside the program, not in the folder it was started in.
    run.click(IDC_HELP_LINK);
    EXPECT_EQ(answer(run, IDOK), L"找不到帮助文件:\n" + folder.file(L"Halyard帮助.doc") +
                                     L"\n它应该在 Halyard.exe 所在的文件夹里。");
    close(run, window);
}

TEST_F(MainWindowTest, IntervalIsValidatedEnterRestartsAndOnlyCloseEnds) {
    profile.ints[L"TraceOrdr"] = 0;
    {
        CKeelsonDlg dialog(profile, folder.folder(), &executor);
        halyard::ModalDialogThread run(dialog);
        HWND window = run.waitForDialog();
        ASSERT_NE(window, nullptr);
        EXPECT_EQ(run.text(IDC_MONITOR_INTERVAL), L"6");
        EXPECT_FALSE(run.isChecked(IDC_TRACE_ORDER));

        // The box applies at once and alone, also while the interval edit holds a wrong value.
        run.setText(IDC_MONITOR_INTERVAL, L"100");
        run.click(IDC_TRACE_ORDER);
        ASSERT_TRUE(run.settle());
        EXPECT_EQ(run.currentMessageBox(), nullptr);
        EXPECT_EQ(dialog.traceOrder, TRUE);
        run.command(IDOK);
        EXPECT_EQ(answer(run, IDOK), L"请输入一个 3 至 60 之间的整数。");
        ASSERT_TRUE(run.settle());
        EXPECT_EQ(dialog.monitorInterval, 6);
        EXPECT_EQ(dialog.traceOrder, TRUE);

        run.setText(IDC_MONITOR_INTERVAL, L"abc");
        run.command(IDOK);
        EXPECT_EQ(answer(run, IDOK), L"请输入一个整数。");
        EXPECT_EQ(run.focus(), GetDlgItem(window, IDC_MONITOR_INTERVAL));

        run.setText(IDC_MONITOR_INTERVAL, L"10");
        run.command(IDOK);      // Enter
        run.command(IDCANCEL);  // Esc
        ASSERT_TRUE(run.settle());
        EXPECT_TRUE(run.running());
        EXPECT_EQ(run.currentMessageBox(), nullptr);
        EXPECT_EQ(dialog.monitorInterval, 10);
        EXPECT_EQ(dialog.traceOrder, TRUE);

        PostMessageW(window, WM_SYSCOMMAND, SC_CLOSE, 0);
        EXPECT_TRUE(run.waitForEnd());
    }
    EXPECT_EQ(profile.ints[L"Timer"], 10);
    EXPECT_EQ(profile.ints[L"TraceOrdr"], 1);
    EXPECT_EQ(profile.ints[L"NeverFoundValidBroke"], 0);  // connected at start-up

    // Typed without Enter: kept at exit and at the end of the Windows session when valid,
    // dropped when not. The end of the session writes the files while the window still runs.
    struct Ending {
        const wchar_t* typed;
        bool sessionEnd;
        int timer;
    } endings[] = {{L"25", false, 25}, {L"100", false, 25}, {L"40", true, 40}, {L"4x", true, 40}};
    for (const Ending& ending : endings) {
        {
            CKeelsonDlg dialog(profile, folder.folder(), &executor);
            halyard::ModalDialogThread run(dialog);
            HWND window = run.waitForDialog();
            ASSERT_TRUE(window && run.settle());
            run.setText(IDC_MONITOR_INTERVAL, ending.typed);
            dialog.waitForRuleFile();
            ASSERT_TRUE(DeleteFileW(folder.file(L"Stock_Config.xml").c_str()));
            if (ending.sessionEnd) {
                SendMessageTimeoutW(window, WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF, SMTO_NORMAL, 10000,
                                    nullptr);
                EXPECT_EQ(profile.ints[L"Timer"], ending.timer) << ending.typed;
                EXPECT_NE(GetFileAttributesW(folder.file(L"Stock_Config.xml").c_str()),
                          INVALID_FILE_ATTRIBUTES);
            }
            close(run, window);
        }
        EXPECT_EQ(profile.ints[L"Timer"], ending.timer) << ending.typed;
    }
}

TEST_F(MainWindowTest, CloseAllAndCancelAllAskFirst) {
    hold({held(L"600000", L"浦发银行", 1000, 9.87f, 10)});
    CKeelsonDlg dialog(profile, folder.folder(), &executor);
    halyard::ModalDialogThread run(dialog);
    HWND window = run.waitForDialog();
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(run.settle());
    log.clear();
    run.click(IDC_CLOSE_ALL);
    EXPECT_EQ(answer(run, IDCANCEL), L"确定要全部平仓?");
    run.click(IDC_CANCEL_ALL);
    EXPECT_EQ(answer(run, IDCANCEL), L"确定要全部撤单(卖出单)?");
    ASSERT_TRUE(run.settle());
    EXPECT_TRUE(log.empty());
    close(run, window);
}

TEST_F(MainWindowTest, TestSaleGoesOnTheTickAndRightClickTracksTheRow) {
    hold({held(L"600000", L"浦发银行", 1000, 10.35f, 10), held(L"600519", L"贵州茅台", 0, 1800.0f, 0)});
    CKeelsonDlg dialog(profile, folder.folder(), &executor);
    halyard::ModalDialogThread run(dialog);
    HWND window = run.waitForDialog();
    ASSERT_NE(window, nullptr);
    HWND list = GetDlgItem(window, IDC_POSITION_LIST);

    // A right-click on the row with nothing to sell only records the row: no menu opens.
    NMITEMACTIVATE click{};
    click.hdr.hwndFrom = list;
    click.hdr.idFrom = IDC_POSITION_LIST;
    click.hdr.code = NM_RCLICK;
    click.iItem = 1;
    SendMessageW(window, WM_NOTIFY, IDC_POSITION_LIST, reinterpret_cast<LPARAM>(&click));
    EXPECT_EQ(dialog.contextRow, 1);
    click.iItem = -1;
    SendMessageW(window, WM_NOTIFY, IDC_POSITION_LIST, reinterpret_cast<LPARAM>(&click));
    EXPECT_EQ(dialog.contextRow, -1);

    log.clear();
    run.command(ID_SELL_PLUS_FIVE);  // no context row: nothing
    ASSERT_TRUE(run.settle());
    EXPECT_TRUE(log.empty());

    dialog.contextRow = 0;
    run.command(ID_SELL_PLUS_FIVE);
    ASSERT_TRUE(run.settle());
    ASSERT_FALSE(log.empty());
    // 10.35 x 1.05 = 10.8675: sent on the 0.01 tick.
    EXPECT_TRUE(log[0] == "sell 600000 1000 10.870 0.0" || log[0] == "sell 600000 1000 10.860 0.0") << log[0];
    close(run, window);
}

TEST_F(MainWindowTest, AnEditedRuleIsSavedAtOnce) {
    hold({held(L"600000", L"浦发银行", 1000, 9.87f, 10), held(L"000001", L"平安银行", 300, 11.0f, -1)});
    CKeelsonDlg dialog(profile, folder.folder(), &executor);
    halyard::ModalDialogThread run(dialog);
    HWND window = run.waitForDialog();
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(run.settle());

    HWND list = GetDlgItem(window, IDC_POSITION_LIST);
    LVITEMW select{};
    select.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    select.state = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageW(list, LVM_SETITEMSTATE, 1, reinterpret_cast<LPARAM>(&select));
    static NMITEMACTIVATE doubleClick{};
    doubleClick.hdr.hwndFrom = list;
    doubleClick.hdr.idFrom = IDC_POSITION_LIST;
    doubleClick.hdr.code = NM_DBLCLK;
    doubleClick.iItem = 1;
    PostMessageW(window, WM_NOTIFY, IDC_POSITION_LIST, reinterpret_cast<LPARAM>(&doubleClick));

    HWND editor = run.waitForMessageBox();
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(halyard::controlText(editor), L"平安银行 止盈止损设置");
    EXPECT_EQ(halyard::controlText(GetDlgItem(editor, IDC_STOP_LOSS)), L"5");
    SetWindowTextW(GetDlgItem(editor, IDC_STOP_LOSS), L"7.5");
    PostMessageW(editor, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    for (int i = 0; i < 500 && IsWindow(editor); ++i) Sleep(10);
    ASSERT_FALSE(IsWindow(editor));
    ASSERT_TRUE(run.settle());
    dialog.waitForRuleFile();

    RuleTable saved = loadRules(folder.folder());
    ASSERT_EQ(saved.count(L"000001"), 1u);
    EXPECT_FLOAT_EQ(saved[L"000001"].StopLoss, 7.5f);
    EXPECT_FLOAT_EQ(saved[L"000001"].Profit, 10.0f);
    EXPECT_EQ(saved[L"000001"].Code, L"000001");
    close(run, window);
}

}  // namespace

TEST_F(MainWindowTest, BrokerSettingsOpenFromTheirButtonAndAChangedConfigurationConnectsAgain) {
    ASSERT_TRUE(halyard::replaceFileAtomically(
        folder.file(L"broker_config.xml"),
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<Brokers Select=\"模拟证券\">\n"
        "    <Broker WindowName=\"模拟证券\" Name=\"模拟证券\">\n"
        "        <PositionColumnName>\n"
        "            <ColumnName Name2=\"证券代码\" Name1=\"证券代码\"/>\n"
        "            <ColumnName Name2=\"当前价\" Name1=\"当前价\"/>\n"
        "        </PositionColumnName>\n"
        "    </Broker>\n</Brokers>\n"));
    CKeelsonDlg dialog(profile, folder.folder(), &executor);
    halyard::ModalDialogThread run(dialog);
    HWND window = run.waitForDialog();
    ASSERT_NE(window, nullptr);
    run.click(IDC_BROKER_SETTINGS);
    HWND settings = run.waitForMessageBox();
    ASSERT_NE(settings, nullptr);
    EXPECT_EQ(halyard::controlText(settings), L"券商软件设置");
    // Connected: the configuration in use cannot be deleted.
    PostMessageW(GetDlgItem(settings, IDC_DELETE_BROKER), BM_CLICK, 0, 0);
    for (int i = 0; i < 500 && IsWindowEnabled(settings); ++i) Sleep(10);
    EXPECT_EQ(answer(run, IDOK), L"券商软件正通过这个配置连接，不能删除正在使用的券商配置");
    SetWindowTextW(GetDlgItem(settings, 1003), L"模拟证券 V2");
    executor.connectResult = 0;
    executor.errorText = L"找不到卖出窗口";
    PostMessageW(GetDlgItem(settings, IDOK), BM_CLICK, 0, 0);
    for (int i = 0; i < 500 && IsWindow(settings); ++i) Sleep(10);
    EXPECT_EQ(answer(run, IDOK),
              L"券商软件还没运行或者当前配置券商不正确\n请确保360等安全软件没有运行网购模式\n1."
              L"你可以重新启动助手试试.\n"
              L"2.如果重启助手也没用,可以配置券商.?\n错误信息:找不到卖出窗口");
    EXPECT_EQ(std::count(log.begin(), log.end(), "connect"), 2);
    std::string saved;
    ASSERT_TRUE(halyard::readWholeFile(folder.file(L"broker_config.xml"), saved));
    EXPECT_NE(saved.find("WindowName=\"模拟证券 V2\""), std::string::npos);
    close(run, window);
}
