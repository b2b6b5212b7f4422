// The button-position and column-mapping editor through its window: the three modes, the fixed
// rows of mode 0, typed coordinates, rows added and deleted, the own-name combo, and writing back
// only what changed.
#include "brokerconfig/broker_child_setting_dlg.h"
#include "common/control_text.h"

#include <gtest/gtest.h>

#include "broker_dialog_test_support.h"
#include "res/resource.h"

namespace {

class ChildSettingTest : public BrokerDialogTest {
protected:
    HWND open(CBrokerChildSetting& dialog, CBrokerChildSetting::Mode mode, BrokerConfig* config) {
        dialog.editMode = mode;
        dialog.editedConfig = config;
        run = std::make_unique<halyard::ModalDialogThread>(dialog);
        HWND window = run->waitForDialog();
        list = window ? GetDlgItem(window, IDC_GRID) : nullptr;
        return window;
    }
    void typeInto(int row, int column, const wchar_t* text, WPARAM key = VK_RETURN) {
        doubleClickCell(list, row, column);
        ASSERT_TRUE(run->settle());
        HWND editor = shownEditor(list);
        ASSERT_TRUE(editor) << row << "," << column;
        if (text) SetWindowTextW(editor, text);
        pressKey(editor, key);
        ASSERT_TRUE(run->settle());
    }
    void finish(int button) {
        run->click(button);
        ASSERT_TRUE(run->waitForEnd());
    }

    std::unique_ptr<halyard::ModalDialogThread> run;
    HWND list = nullptr;
};

TEST_F(ChildSettingTest, ButtonPositionsKeepTheirLabelsAndOrderAndStoreTypedCoordinatesAsIntegers) {
    BrokerConfig* config = addConfig(L"模拟证券", L"模拟证券");
    CBrokerChildSetting dialog;
    HWND window = open(dialog, CBrokerChildSetting::Mode::ButtonPositions, config);
    ASSERT_TRUE(window);
    EXPECT_EQ(halyard::controlText(window), L"设置按钮位置");
    EXPECT_FALSE(IsWindowVisible(GetDlgItem(window, IDC_ADD_ROW)));
    EXPECT_FALSE(IsWindowVisible(GetDlgItem(window, IDC_DELETE_ROW)));
    EXPECT_EQ(columnTitles(list), L"按钮名称|按钮坐标X|按钮坐标Y|");
    EXPECT_EQ(SendMessageW(list, LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0), 0x21);

    doubleClickCell(list, 1, 0);
    ASSERT_TRUE(run->settle());
    EXPECT_EQ(shownEditor(list), nullptr);  // labels are read-only
    run->command(IDC_ADD_ROW);              // even a command without its button adds nothing
    selectRow(list, 0);
    run->command(IDC_DELETE_ROW);
    ASSERT_TRUE(run->settle());
    typeInto(1, 1, L"12abc");
    typeInto(1, 2, L"");
    typeInto(2, 1, L"-7");
    typeInto(3, 2, L"无");
    EXPECT_EQ(gridRows(list),
              L"买入按钮\t30\t20|卖出按钮\t12abc\t|撤单按钮\t-7\t20|撤单按钮2\t20\t无|持仓按钮\t210\t20|");
    finish(IDOK);
    EXPECT_TRUE(dialog.changed);
    EXPECT_EQ(config->buttonPositionList(), (std::vector<ButtonPosition>{{L"买入按钮", 30, 20},
                                                                         {L"卖出按钮", 12, 0},
                                                                         {L"撤单按钮", -7, 20},
                                                                         {L"撤单按钮2", 20, 0},
                                                                         {L"持仓按钮", 210, 20}}));

    // Cancel drops what was typed.
    CBrokerChildSetting cancelled;
    ASSERT_TRUE(open(cancelled, CBrokerChildSetting::Mode::ButtonPositions, config));
    typeInto(0, 1, L"999");
    finish(IDCANCEL);
    EXPECT_EQ(config->buttonPositionList()[0].x, 30);
}

TEST_F(ChildSettingTest, DeletingARowShiftsTheMapAndTheOwnNameComboPicksByPrefix) {
    BrokerConfig* config = addConfig(L"模拟证券", L"模拟证券");
    config->setPositionColumns({L"证券代码", L"证券名称", L"股东代码", L"当前价", L"备注"},
                               {L"证券代码", L"股票", L"", L"当前价", L"旧名称"});
    CBrokerChildSetting dialog;
    HWND window = open(dialog, CBrokerChildSetting::Mode::PositionColumns, config);
    ASSERT_TRUE(window);
    EXPECT_EQ(halyard::controlText(window), L"设置持仓表对应");
    EXPECT_EQ(columnTitles(list), L"券商仓位表列名|助手对应列名|");
    EXPECT_EQ(gridRows(list), L"证券代码\t证券代码|证券名称\t股票|股东代码\t|当前价\t当前价|备注\t旧名称|");
    HWND combo = dialog.ownNameCombo.hwnd();
    EXPECT_EQ(SendMessageW(combo, CB_GETCOUNT, 0, 0), 10);

    run->click(IDC_DELETE_ROW);  // nothing selected: nothing deleted
    ASSERT_TRUE(run->settle());
    selectRow(list, 1);
    run->click(IDC_DELETE_ROW);
    run->click(IDC_ADD_ROW);
    ASSERT_TRUE(run->settle());
    EXPECT_EQ(gridRows(list), L"证券代码\t证券代码|股东代码\t|当前价\t当前价|备注\t旧名称|输入列名\t|");

    // The combo opens on the cell's own name, an empty cell on the empty entry, an unknown name
    // on no entry (closing it then keeps the name).
    const struct {
        int row;
        int expectedSelection;
        int choose;
    } picks[] = {{2, 9, 2}, {1, 0, 7}, {0, 1, -1}, {3, -1, -2}};
    for (const auto& pick : picks) {
        SCOPED_TRACE(pick.row);
        doubleClickCell(list, pick.row, 1);
        ASSERT_TRUE(run->settle());
        ASSERT_EQ(shownEditor(list), combo);
        EXPECT_EQ(SendMessageW(combo, CB_GETCURSEL, 0, 0), pick.expectedSelection);
        if (pick.choose >= 0) SendMessageW(combo, CB_SETCURSEL, static_cast<WPARAM>(pick.choose), 0);
        pressKey(combo, pick.choose == -1 ? VK_ESCAPE : VK_RETURN);
        ASSERT_TRUE(run->settle());
    }
    typeInto(4, 0, L"盈亏比例(%)");
    finish(IDOK);
    EXPECT_TRUE(dialog.changed);
    EXPECT_EQ(config->positionTitles(),
              (StringList{L"证券代码", L"股东代码", L"当前价", L"备注", L"盈亏比例(%)"}));
    EXPECT_EQ(config->positionOwnNames(), (StringList{L"证券代码", L"盈亏", L"股票", L"旧名称", L""}));
    EXPECT_EQ(config->commitTitles(), (StringList{L"证券代码", L"委托数量"}));
}

TEST_F(ChildSettingTest, WithoutAConfigurationOnlyTheHeadersShowAndOkStoresNothing) {
    CBrokerChildSetting dialog;
    HWND window = open(dialog, CBrokerChildSetting::Mode::CommitColumns, nullptr);
    ASSERT_TRUE(window);
    EXPECT_EQ(halyard::controlText(window), L"设置委托表对应");
    EXPECT_EQ(columnTitles(list), L"券商委托表列名|助手对应列名|");
    EXPECT_EQ(gridRows(list), L"");
    EXPECT_EQ(SendMessageW(dialog.ownNameCombo.hwnd(), CB_GETCOUNT, 0, 0), 4);
    run->click(IDC_ADD_ROW);
    ASSERT_TRUE(run->settle());
    EXPECT_EQ(gridRows(list), L"输入列名\t|");
    finish(IDOK);
    EXPECT_EQ(run->result(), IDOK);
    EXPECT_FALSE(dialog.changed);
}

}  // namespace
