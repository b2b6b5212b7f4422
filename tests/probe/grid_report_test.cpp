// The probe against a client whose lists are drawn grids, 32-bit as real ones are when this
// machine runs them: its tree menu at every depth, the order form's ids and the grids, read
// without selecting, clicking or copying anything.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include "broker/remote_tree.h"
#include "broker/window_toolkit.h"
#include "common/text_encoding.h"
#include "probe/grid_report.h"
#include "support/sim_client_process.h"

namespace {

using halyard::testing::SimClientProcess;

TEST(ProbeGridReport, NamesTreeItemsFormIdsAndGridsWithoutTouchingTheClient) {
    const auto bits = SimClientProcess::available(SimClientProcess::Bits::Client32)
                          ? SimClientProcess::Bits::Client32
                          : SimClientProcess::Bits::Client64;
    SimClientProcess client({L"--family", L"grid", L"--title", L"网上股票交易系统5.0 探测"}, bits);
    ASSERT_TRUE(client.started()) << client.error();
    HWND tree = findDescendants(client.mainWindow(), L"SysTreeView32").at(0);
    // The investor opens the sell and positions pages, as the probe's instructions ask.
    RemoteTree menu(tree);
    const auto items = menu.items();
    ASSERT_TRUE(items && items->size() == 7);
    ASSERT_TRUE(menu.select((*items)[1].handle) && menu.select((*items)[4].handle));
    const size_t eventsBefore = client.journal().size();

    halyard::probe::ProbeReport report;
    halyard::probe::writeGridReport(report, client.mainWindow());
    std::wstring text;
    for (const std::wstring& line : report.lines()) text += line + L"\n";
    for (const wchar_t* part :
         {L"\n    深度 0: \"卖出[F2]\"", L"\n      深度 1: \"资金股票\"", L"\n    深度 0: \"撤单[F3]\"",
          L"有: 1032 代码, 1033 价格, 1034 数量, 1006 下单按钮; 缺: (无)", L"\"CVirtualGridCtrl\" id 1047"})
        EXPECT_NE(text.find(part), std::wstring::npos) << halyard::toUtf8(part) << "\n"
                                                       << halyard::toUtf8(text);
    EXPECT_EQ(client.journal().size(), eventsBefore) << "the probe did something to the client";
    EXPECT_EQ(SendMessageW(tree, TVM_GETNEXTITEM, TVGN_CARET, 0), static_cast<LRESULT>((*items)[4].handle))
        << "the probe changed the menu's selection";
}

}  // namespace
