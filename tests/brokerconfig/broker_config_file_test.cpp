// The text of broker_config.xml: every field, the printer's layout byte for byte, and what
// hand-edited or damaged texts read as.
#include "brokerconfig/broker_config_file.h"

#include <gtest/gtest.h>

#include <climits>

namespace {

// A file as the program writes it: two configurations, the second with empty lists.
const char kTwoBrokers[] =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
    "<Brokers Select=\"招商证券\">\n"
    "    <Broker WindowName=\"网上股票交易系统5.0\" Name=\"招商证券\">\n"
    "        <ButtonPositions>\n"
    "            <ButtonPosition Name=\"买入按钮\" y=\"12\" x=\"30\"/>\n"
    "            <ButtonPosition Name=\"卖出按钮\" y=\"-5\" x=\"70000\"/>\n"
    "        </ButtonPositions>\n"
    "        <PositionColumnName>\n"
    "            <ColumnName Name2=\"证券代码\" Name1=\"证券代码\"/>\n"
    "            <ColumnName Name2=\"\" Name1=\"盈亏比例(%)\"/>\n"
    "        </PositionColumnName>\n"
    "        <CommitColumnName>\n"
    "            <ColumnName Name2=\"买卖标志\" Name1=\"委托方向\"/>\n"
    "        </CommitColumnName>\n"
    "    </Broker>\n"
    "    <Broker WindowName=\"\" Name=\"空白\">\n"
    "        <ButtonPositions/>\n"
    "        <PositionColumnName/>\n"
    "        <CommitColumnName/>\n"
    "    </Broker>\n"
    "</Brokers>\n";

// A list-view configuration beside a grid one: the list-view element is written as before.
const char kBothFamilies[] =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
    "<Brokers Select=\"网格\">\n"
    "    <Broker WindowName=\"\" Name=\"列表\">\n"
    "        <ButtonPositions/>\n"
    "        <PositionColumnName/>\n"
    "        <CommitColumnName/>\n"
    "    </Broker>\n"
    "    <Broker WindowName=\"网上股票交易系统5.0\" Name=\"网格\" Family=\"grid\">\n"
    "        <ButtonPositions/>\n"
    "        <PositionColumnName>\n"
    "            <ColumnName Name2=\"当前价\" Name1=\"市价\"/>\n"
    "        </PositionColumnName>\n"
    "        <CommitColumnName/>\n"
    "        <TreePaths>\n"
    "            <TreePath Page=\"Buy\">\n"
    "                <TreeLabel Text=\"买入[F1]\"/>\n"
    "            </TreePath>\n"
    "            <TreePath Page=\"Sell\"/>\n"
    "            <TreePath Page=\"Cancel\"/>\n"
    "            <TreePath Page=\"Positions\">\n"
    "                <TreeLabel Text=\"查询[F4]\"/>\n"
    "                <TreeLabel Text=\"资金股票\"/>\n"
    "            </TreePath>\n"
    "            <TreePath Page=\"Orders\"/>\n"
    "        </TreePaths>\n"
    "        <GridControls Code=\"1032\" Price=\"2033\" Quantity=\"1034\" Order=\"1006\" Grid=\"1047\" "
    "GridClass=\"CVirtualGridCtrl\"/>\n"
    "    </Broker>\n"
    "</Brokers>\n";

BrokerConfigFile parsed(const std::string& text) {
    BrokerConfigFile file;
    EXPECT_TRUE(parseBrokerConfigFile(text, file)) << text;
    return file;
}

}  // namespace

TEST(BrokerConfigFile, AWrittenFileReadsIntoEveryFieldAndIsWrittenBackByteForByte) {
    const BrokerConfigFile file = parsed(kTwoBrokers);
    EXPECT_EQ(file.selectedName, L"招商证券");
    ASSERT_EQ(file.brokers.size(), 2u);
    const BrokerConfig& first = *file.brokers[0];
    EXPECT_EQ(first.name, L"招商证券");
    EXPECT_EQ(first.windowName, L"网上股票交易系统5.0");
    EXPECT_EQ(first.buttonPositionList(),
              (std::vector<ButtonPosition>{{L"买入按钮", 30, 12}, {L"卖出按钮", 70000, -5}}));
    EXPECT_EQ(first.positionTitles(), (StringList{L"证券代码", L"盈亏比例(%)"}));
    EXPECT_EQ(first.positionOwnNames(), (StringList{L"证券代码", L""}));
    EXPECT_EQ(first.commitTitles(), (StringList{L"委托方向"}));
    EXPECT_EQ(first.commitOwnNames(), (StringList{L"买卖标志"}));
    EXPECT_EQ(file.brokers[1]->name, L"空白");
    EXPECT_TRUE(file.brokers[1]->buttonPositionList().empty());
    EXPECT_EQ(formatBrokerConfigFile(file.brokers, file.selectedName), kTwoBrokers);
    EXPECT_EQ(formatBrokerConfigFile({}, L"x"),
              "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<Brokers Select=\"x\"/>\n");
    // A byte-order mark and CR LF line ends read like the plain file.
    std::string crlf = "\xEF\xBB\xBF";
    for (const char* p = kTwoBrokers; *p; ++p) crlf += *p == '\n' ? std::string("\r\n") : std::string(1, *p);
    const BrokerConfigFile again = parsed(crlf);
    EXPECT_EQ(formatBrokerConfigFile(again.brokers, again.selectedName), kTwoBrokers);
    EXPECT_EQ(again.brokers[0]->family, ClientFamily::ListView);

    const BrokerConfigFile both = parsed(kBothFamilies);
    ASSERT_EQ(both.brokers.size(), 2u);
    EXPECT_EQ(both.brokers[0]->family, ClientFamily::ListView);
    const BrokerConfig& grid = *both.brokers[1];
    EXPECT_EQ(grid.family, ClientFamily::Grid);
    EXPECT_EQ(grid.grid.pagePath(GridPage::Positions), (TreePath{L"查询[F4]", L"资金股票"}));
    EXPECT_EQ(grid.grid.priceEditId, 2033);
    EXPECT_EQ(grid.positionOwnNames(), (StringList{L"当前价"}));
    EXPECT_EQ(formatBrokerConfigFile(both.brokers, both.selectedName), kBothFamilies);
}

TEST(BrokerConfigFile, CoordinatesAreScannedLikePercentD) {
    const struct {
        const char* text;
        int32_t expected;
    } cases[] = {{"", 0},    {"0x1F", 0},
                 {"abc", 0}, {"12abc", 12},
                 {"-5", -5}, {"2147483648", INT_MAX},
                 {" +7", 7}, {"-2147483648", INT_MIN},
                 {"3.9", 3}, {"-99999999999999999999999999", INT_MIN}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(scanCoordinate(c.text), c.expected);
    }
    const BrokerConfigFile file = parsed(
        "<Brokers><Broker><ButtonPositions><ButtonPosition x=\"12abc\" y=\"abc\"/><ButtonPosition/>"
        "<ButtonPosition x=\"-5\" y=\"99999999999\"/></ButtonPositions></Broker></Brokers>");
    ASSERT_EQ(file.brokers.size(), 1u);
    EXPECT_EQ(file.brokers[0]->buttonPositionList(),
              (std::vector<ButtonPosition>{{L"", 12, 0}, {L"", 0, 0}, {L"", -5, INT_MAX}}));
}

TEST(BrokerConfigFile, HandEditedFilesReadWithDefinedResults) {
    // Missing attributes are "", another root name is read like Brokers, elements before the
    // first Broker are skipped and any element after it is a configuration; in the lists only
    // their own elements count.
    const BrokerConfigFile file = parsed(
        "<Config><Note/><Broker Name=\"甲\"><ButtonPositions><Other x=\"9\"/>"
        "<ButtonPosition Name=\"b\" x=\"1\" y=\"2\"/><Other x=\"8\"/></ButtonPositions>"
        "<PositionColumnName><ColumnName Name1=\"证券代码\"/><ColumnName Name2=\"股票\"/><Other/>"
        "</PositionColumnName></Broker><Extra WindowName=\"乙窗口\"/></Config>");
    EXPECT_EQ(file.selectedName, L"");
    ASSERT_EQ(file.brokers.size(), 2u);
    EXPECT_EQ(file.brokers[0]->name, L"甲");
    EXPECT_EQ(file.brokers[0]->windowName, L"");
    EXPECT_EQ(file.brokers[0]->buttonPositionList(), (std::vector<ButtonPosition>{{L"b", 1, 2}}));
    EXPECT_EQ(file.brokers[0]->positionTitles(), (StringList{L"证券代码", L""}));
    EXPECT_EQ(file.brokers[0]->positionOwnNames(), (StringList{L"", L"股票"}));
    EXPECT_TRUE(file.brokers[0]->commitTitles().empty());
    EXPECT_EQ(file.brokers[1]->windowName, L"乙窗口");
    // Attribute text is UTF-8; bytes that are not read as U+FFFD.
    const BrokerConfigFile odd =
        parsed("<Brokers Select=\"\xB0\xB2\"><Broker Name=\"\xE5\xB9\xB3\"/></Brokers>");
    EXPECT_EQ(odd.selectedName, L"\uFFFD\uFFFD");
    EXPECT_EQ(odd.brokers[0]->name, L"平");

    // Grid values that are missing or odd keep their defaults; only Family="grid" is the grid family.
    const BrokerConfigFile grids = parsed(
        "<Brokers><Broker Family=\"grid\"><TreePaths><TreePath Page=\"Sell\"><TreeLabel Text=\"卖出\"/>"
        "</TreePath><TreePath Page=\"Sell\"/><TreePath Page=\"Nowhere\"/><TreePath><TreeLabel/></TreePath>"
        "</TreePaths><GridControls Code=\"12abc\" Price=\"-1\" Quantity=\"70000\" Order=\"\" Grid=\"99\" "
        "GridClass=\"\"/></Broker><Broker Family=\"Grid\"><TreePaths><TreePath Page=\"Buy\">"
        "<TreeLabel Text=\"买入\"/></TreePath></TreePaths></Broker><Broker Family=\"grid\"/></Brokers>");
    ASSERT_EQ(grids.brokers.size(), 3u);
    GridLayout expected;
    expected.gridId = 99;
    expected.setPagePath(GridPage::Sell, {L"卖出"});
    EXPECT_EQ(grids.brokers[0]->grid, expected);
    EXPECT_EQ(grids.brokers[1]->family, ClientFamily::ListView);
    EXPECT_EQ(grids.brokers[1]->grid, GridLayout());
    EXPECT_EQ(grids.brokers[2]->family, ClientFamily::Grid);
    EXPECT_EQ(grids.brokers[2]->grid, GridLayout());
}

TEST(BrokerConfigFile, TextThatIsNoDocumentLeavesTheResultAlone) {
    for (const char* text : {"", "   ", "<?xml version=\"1.0\"?>", "<!-- only a comment -->", "<Brokers>",
                             "<Brokers><Broker></Brokers>", "\xEF\xBB\xBF", "not xml at all"}) {
        SCOPED_TRACE(text);
        BrokerConfigFile file;
        file.selectedName = L"kept";
        file.brokers.push_back(std::make_unique<BrokerConfig>(L"old", L""));
        EXPECT_FALSE(parseBrokerConfigFile(text, file));
        EXPECT_EQ(file.selectedName, L"kept");
        EXPECT_EQ(file.brokers.size(), 1u);
    }
}

TEST(BrokerConfigFile, AttributeTextSurvivesWritingAndReading) {
    // Escaped characters, blanks, line ends and characters beyond the BMP; a CR in particular
    // must come back as a CR, not as the LF a reader makes of a raw one.
    const std::wstring awkward = L"a&b<c>\"d'e\tf\ng\rh \U0001F4C8 ";
    BrokerConfigList brokers;
    brokers.push_back(std::make_unique<BrokerConfig>(awkward, L" 交易 "));
    brokers.back()->setButtonPositions({{awkward, INT_MIN, INT_MAX}});
    brokers.back()->setCommitColumns({awkward, L""}, {L"", awkward});
    const std::string text = formatBrokerConfigFile(brokers, awkward);
    const BrokerConfigFile file = parsed(text);
    EXPECT_EQ(file.selectedName, awkward);
    ASSERT_EQ(file.brokers.size(), 1u);
    EXPECT_EQ(file.brokers[0]->name, awkward);
    EXPECT_EQ(file.brokers[0]->buttonPositionList(), brokers[0]->buttonPositionList());
    EXPECT_EQ(file.brokers[0]->commitOwnNames(), brokers[0]->commitOwnNames());
    EXPECT_EQ(formatBrokerConfigFile(file.brokers, file.selectedName), text);
}
