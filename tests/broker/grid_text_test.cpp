// What a grid client shows as text: copies of its grids, its tree labels and its pop-ups.
#include <gtest/gtest.h>

#include "broker/client_popups.h"
#include "broker/grid_copy_text.h"
#include "broker/tree_labels.h"

namespace {

BrokerConfig learntFrom(const std::wstring& positions, const std::wstring& orders) {
    BrokerConfig config(L"网格", L"网上股票交易系统5.0");
    EXPECT_TRUE(learnCopiedPositionColumns(positions, config).empty());
    EXPECT_TRUE(learnCopiedOrderColumns(orders, config).empty());
    return config;
}

}  // namespace

TEST(GridText, CopiesReadThroughTheLearntColumnsOrSayWhatIsMissing) {
    const BrokerConfig config =
        learntFrom(L"证券代码\t证券名称\t股票余额\t可用余额\t冻结数量\t市价\n",
                   L"委托时间\t证券代码\t操作\t委托数量\t成交数量\t委托价格\t合同编号\t备注");
    EXPECT_EQ(config.positionOwnNames(),
              (StringList{L"证券代码", L"股票", L"数量", L"可卖数量", L"冻结数量", L"当前价"}));
    BrokerConfig partial(L"a", L"b");
    EXPECT_EQ(learnCopiedOrderColumns(L"证券代码\t委托状态\r\n", partial),
              (StringList{L"买卖标志", L"委托数量"}));
    EXPECT_EQ(readCopiedOrders(L"证券代码\t委托状态\n600000\t已报", partial).missing.at(0), L"买卖标志");
    const struct {
        const wchar_t* text;
        GridCopyStatus status;
        const wchar_t* missingOrCode;  // first missing title, or the last row's code
        size_t rows;
        int32_t sellable;
        float price;
        uint16_t unreadable;
    } positions[] = {
        {L"证券代码\t证券名称\t股票余额\t可用余额\t冻结数量\t市价\r\n600000\t浦发\t1,000\t800\t0\t8.88\r\n",
         GridCopyStatus::Read, L"600000", 1, 800, 8.88f, 0},
        // Columns moved, LF, blank lines, trailing blanks, a code kept as text, a short row.
        {L"\n市价 \t证券代码\t可用余额\t股票余额\t证券名称\n9.10\t000001\t500 "
         L"\t500\t平安\n\n7.5\t=\"000002\"\n  \n",
         GridCopyStatus::Read, L"000002", 2, 0, 7.5f, kQuantityCell | kSellableQuantityCell},
        {L"证券代码\t证券名称\t股票余额\t可用余额\t市价\n600000\t浦发\t--\t100股\t\n", GridCopyStatus::Read,
         L"600000", 1, 100, 0.0f, kQuantityCell | kCurrentPriceCell},
        {L"证券代码\t证券名称\t股票余额\t市价\n600000\t浦发\t100\t8.8\n", GridCopyStatus::MissingColumns,
         L"可用余额", 0, 0, 0, 0},
        {L" \r\n\t\r\n", GridCopyStatus::NoHeader, L"", 0, 0, 0, 0},
    };
    for (const auto& c : positions) {
        SCOPED_TRACE(c.text);
        const GridCopyRead read = readCopiedPositions(c.text, config);
        EXPECT_EQ(read.status, c.status);
        ASSERT_EQ(read.rows.size(), c.rows);
        if (c.rows == 0) {
            EXPECT_EQ(read.missing, c.status == GridCopyStatus::MissingColumns ? StringList{c.missingOrCode}
                                                                               : StringList{});
            continue;
        }
        EXPECT_EQ(read.rows.back().code, c.missingOrCode);
        EXPECT_EQ(read.rows.back().sellableQuantity, c.sellable);
        EXPECT_FLOAT_EQ(read.rows.back().currentPrice, c.price);
        EXPECT_EQ(read.rows.back().unreadableCells, c.unreadable);
    }
    const GridCopyRead orders = readCopiedOrders(
        L"委托时间\t证券代码\t操作\t委托数量\t成交数量\t委托价格\t合同编号\t备注\n"
        L"09:31:02\t600000\t证券卖出\t800\t300\t8.79\t1234\t部成\n10:00:00\t000001\t买入\t100\t0\t9."
        L"1\t1240\t已撤\n"
        L"10:01:00\t000002\t撤卖\t1.5\t0\tx\t1241\t已报\n",
        config);
    ASSERT_EQ(orders.status, GridCopyStatus::Read);
    ASSERT_EQ(orders.rows.size(), 3u);
    EXPECT_EQ(orders.rows[0].direction, kSellDirection);
    EXPECT_EQ(orders.rows[0].filledQuantity, 300);
    EXPECT_FLOAT_EQ(orders.rows[0].orderPrice, 8.79f);
    EXPECT_EQ(orders.rows[0].contractNumber, L"1234");
    EXPECT_TRUE(orderIsOpen(orders.rows[0]));
    EXPECT_EQ(orders.rows[1].direction, kBuyDirection);
    EXPECT_FALSE(orderIsOpen(orders.rows[1]));
    // An unknown side reads as a sell and is marked; an unreadable quantity never looks done.
    EXPECT_EQ(orders.rows[2].direction, kSellDirection);
    EXPECT_EQ(orders.rows[2].unreadableCells, kDirectionCell | kQuantityCell | kOrderPriceCell);
    EXPECT_TRUE(orderIsOpen(orders.rows[2]));
}

TEST(GridText, TreeLabelsLeadToPagesWhateverHotKeyTheyCarry) {
    const struct {
        const wchar_t* label;
        std::optional<GridPage> page;
    } labels[] = {{L"买入[F1]", GridPage::Buy},
                  {L"卖出 F2", GridPage::Sell},
                  {L"撤单(F3)", GridPage::Cancel},
                  {L"【F3】撤单 ", GridPage::Cancel},
                  {L"资金股票", GridPage::Positions},
                  {L"当日委托（&W）", GridPage::Orders},
                  {L"查询[F4]", std::nullopt},
                  {L"买入(融资)", std::nullopt},
                  {L"F12", std::nullopt},
                  {L"", std::nullopt}};
    for (const auto& c : labels) EXPECT_EQ(pageOfTreeLabel(c.label), c.page) << c.label;

    const std::vector<TreeItem> tree = {{0, L"双向委托"}, {1, L"买入"},     {0, L"买入[F1]"},
                                        {0, L"卖出[F2]"}, {0, L"撤单[F3]"}, {0, L"查询[F4]"},
                                        {3, L"资金股票"}, {1, L"当日委托"}, {-2, L"其他"}};
    const auto paths = learnPagePaths(tree);
    EXPECT_EQ(paths[static_cast<size_t>(GridPage::Buy)], (TreePath{L"买入[F1]"}));
    EXPECT_EQ(paths[static_cast<size_t>(GridPage::Positions)], (TreePath{L"查询[F4]", L"资金股票"}));
    EXPECT_EQ(treePathOf(tree, 8), (TreePath{L"其他"}));
    const struct {
        TreePath path;
        int index;
    } finds[] = {{{L"查询 F4", L"资金股票"}, 6},
                 {{L"查询[F4]", L"当日委托"}, 7},
                 {{L"买入"}, 2},
                 {{L"资金股票"}, -1},
                 {{}, -1}};
    for (const auto& c : finds) EXPECT_EQ(findTreePath(tree, c.path), c.index) << c.path.size();
}

TEST(GridText, PopUpsAreToldApartAndOnlyANumberedNoticeIsASubmission) {
    const struct {
        const wchar_t* title;
        const wchar_t* text;
        ClientPopupKind kind;
        const wchar_t* contractOrReason;
    } popups[] = {
        {L"提示", L"检测到您正在拷贝数据，为保护您的账号数据安全，请先输入验证码", ClientPopupKind::Captcha,
         L""},
        {L"提示", L"复制数据前请输入验证码", ClientPopupKind::Captcha, L""},
        {L"委托确认", L"您是否确认以下委托？卖出 600000 超过", ClientPopupKind::OrderConfirmation, L""},
        {L"撤单确认", L"是否撤单", ClientPopupKind::CancelConfirmation, L""},
        {L"提示", L"您的卖出委托已成功提交，合同编号：A123456。", ClientPopupKind::OrderSubmitted,
         L"A123456"},
        {L"提示", L"委托已提交,合同编号为 998", ClientPopupKind::OrderSubmitted, L"998"},
        {L"提示", L" 委托价格的小数价格应为2位\r\n", ClientPopupKind::OrderRefused,
         L"委托价格的小数价格应为2位"},
        {L"提示", L"可用数量不足，合同编号：", ClientPopupKind::OrderRefused, L"可用数量不足，合同编号："},
        {L"提示", L"委托价格超过涨停价格", ClientPopupKind::OrderRefused, L"委托价格超过涨停价格"},
        {L"提示", L"委托已提交，合同编号：", ClientPopupKind::Other, L""},
        {L"提示", L"", ClientPopupKind::Other, L""},
    };
    for (const auto& c : popups) {
        SCOPED_TRACE(c.text);
        const ClientPopup popup = readClientPopup(c.title, c.text);
        EXPECT_EQ(popup.kind, c.kind);
        EXPECT_EQ(popup.kind == ClientPopupKind::OrderRefused ? popup.reason : popup.contractNumber,
                  c.contractOrReason);
    }
}
