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
    "            <ButtonPosition Name=\"卖出按钮\" y=\"12\" x=\"90\"/>\n"
    "            <ButtonPosition Name=\"撤单按钮\" y=\"12\" x=\"150\"/>\n"
    "            <ButtonPosition Name=\"撤单按钮2\" y=\"-5\" x=\"70000\"/>\n"
    "            <ButtonPosition Name=\"持仓按钮\" y=\"12\" x=\"210\"/>\n"
    "        </ButtonPositions>\n"
    "        <PositionColumnName>\n"
    "            <ColumnName Name2=\"证券代码\" Name1=\"证券代码\"/>\n"
    "            <ColumnName Name2=\"\" Name1=\"备注\"/>\n"
    "            <ColumnName Name2=\"盈亏%\" Name1=\"盈亏比例(%)\"/>\n"
    "        </PositionColumnName>\n"
    "        <CommitColumnName>\n"
    "            <ColumnName Name2=\"买卖标志\" Name1=\"买卖标志\"/>\n"
    "        </CommitColumnName>\n"
    "    </Broker>\n"
    "    <Broker WindowName=\"\" Name=\"空白\">\n"
    "        <ButtonPositions/>\n"
    "        <PositionColumnName/>\n"
    "        <CommitColumnName/>\n"
    "    </Broker>\n"
    "</Brokers>\n";

BrokerConfigFile parsed(const std::string& text) {
    BrokerConfigFile file;
    EXPECT_TRUE(parseBrokerConfigFile(text, file)) << text;
    return file;
}

}  // namespace

TEST(BrokerConfigFile, ReadsEveryFieldOfAWrittenFile) {
    const BrokerConfigFile file = parsed(kTwoBrokers);
    EXPECT_EQ(file.selectedName, L"招商证券");
    ASSERT_EQ(file.brokers.size(), 2u);
    const BrokerConfig& first = *file.brokers[0];
    EXPECT_EQ(first.name, L"招商证券");
    EXPECT_EQ(first.windowName, L"网上股票交易系统5.0");
    ASSERT_EQ(first.buttonPositionList().size(), 5u);
    EXPECT_EQ(*first.buttonPosition(ButtonSlot::Buy), (ButtonPosition{L"买入按钮", 30, 12}));
    EXPECT_EQ(*first.buttonPosition(ButtonSlot::CancelSecond), (ButtonPosition{L"撤单按钮2", 70000, -5}));
    EXPECT_EQ(first.positionTitles(), (StringList{L"证券代码", L"备注", L"盈亏比例(%)"}));
    EXPECT_EQ(first.positionOwnNames(), (StringList{L"证券代码", L"", L"盈亏%"}));
    EXPECT_EQ(first.commitColumnIndex(L"买卖标志"), 0);
    const BrokerConfig& second = *file.brokers[1];
    EXPECT_EQ(second.name, L"空白");
    EXPECT_EQ(second.windowName, L"");
    EXPECT_TRUE(second.buttonPositionList().empty());
    EXPECT_TRUE(second.positionTitles().empty());
    EXPECT_TRUE(second.commitOwnNames().empty());
}

TEST(BrokerConfigFile, WritesTheLayoutOfTheLibraryPrinterByteForByte) {
    const BrokerConfigFile file = parsed(kTwoBrokers);
    EXPECT_EQ(formatBrokerConfigFile(file.brokers, file.selectedName), kTwoBrokers);

    BrokerConfigList built;
    built.push_back(std::make_unique<BrokerConfig>(L"新", L"交易"));
    built.back()->setButtonPositions({{L"买入按钮", 1, 2}});
    EXPECT_EQ(formatBrokerConfigFile(built, L""),
              "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
              "<Brokers Select=\"\">\n"
              "    <Broker WindowName=\"交易\" Name=\"新\">\n"
              "        <ButtonPositions>\n"
              "            <ButtonPosition Name=\"买入按钮\" y=\"2\" x=\"1\"/>\n"
              "        </ButtonPositions>\n"
              "        <PositionColumnName/>\n"
              "        <CommitColumnName/>\n"
              "    </Broker>\n"
              "</Brokers>\n");
    EXPECT_EQ(formatBrokerConfigFile({}, L"x"),
              "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<Brokers Select=\"x\"/>\n");
}

TEST(BrokerConfigFile, CoordinatesAreScannedLikePercentD) {
    EXPECT_EQ(scanCoordinate("12abc"), 12);
    EXPECT_EQ(scanCoordinate("abc"), 0);
    EXPECT_EQ(scanCoordinate("-5"), -5);
    EXPECT_EQ(scanCoordinate(" +7"), 7);
    EXPECT_EQ(scanCoordinate(""), 0);
    EXPECT_EQ(scanCoordinate("0x1F"), 0);
    EXPECT_EQ(scanCoordinate("3.9"), 3);
    EXPECT_EQ(scanCoordinate("65536"), 65536);
    EXPECT_EQ(scanCoordinate("-2147483648"), INT_MIN);
    EXPECT_EQ(scanCoordinate("2147483648"), INT_MAX);
    EXPECT_EQ(scanCoordinate("-99999999999999999999999999"), INT_MIN);

    const BrokerConfigFile file = parsed(
        "<Brokers><Broker><ButtonPositions>"
        "<ButtonPosition x=\"12abc\" y=\"abc\"/><ButtonPosition/><ButtonPosition x=\"-5\" y=\"99999999999\"/>"
        "</ButtonPositions></Broker></Brokers>");
    ASSERT_EQ(file.brokers.size(), 1u);
    const auto& buttons = file.brokers[0]->buttonPositionList();
    ASSERT_EQ(buttons.size(), 3u);
    EXPECT_EQ(buttons[0], (ButtonPosition{L"", 12, 0}));
    EXPECT_EQ(buttons[1], (ButtonPosition{L"", 0, 0}));
    EXPECT_EQ(buttons[2], (ButtonPosition{L"", -5, INT_MAX}));
}

TEST(BrokerConfigFile, HandEditedFilesReadWithDefinedResults) {
    // Missing attributes are "", another root name is read like Brokers, elements before the
    // first Broker are skipped and any element after it is a configuration.
    const BrokerConfigFile file = parsed(
        "<Config><Note/><Broker Name=\"甲\"><ButtonPositions><Other x=\"9\"/>"
        "<ButtonPosition Name=\"b\" x=\"1\" y=\"2\"/></ButtonPositions>"
        "<PositionColumnName><ColumnName Name1=\"证券代码\"/><ColumnName "
        "Name2=\"股票\"/><Other/></PositionColumnName>"
        "</Broker><Extra WindowName=\"乙窗口\"/></Config>");
    EXPECT_EQ(file.selectedName, L"");
    ASSERT_EQ(file.brokers.size(), 2u);
    EXPECT_EQ(file.brokers[0]->name, L"甲");
    EXPECT_EQ(file.brokers[0]->windowName, L"");
    EXPECT_EQ(file.brokers[0]->buttonPositionList(), (std::vector<ButtonPosition>{{L"b", 1, 2}}));
    EXPECT_EQ(file.brokers[0]->positionTitles(), (StringList{L"证券代码", L""}));
    EXPECT_EQ(file.brokers[0]->positionOwnNames(), (StringList{L"", L"股票"}));
    EXPECT_TRUE(file.brokers[0]->commitTitles().empty());
    EXPECT_EQ(file.brokers[1]->name, L"");
    EXPECT_EQ(file.brokers[1]->windowName, L"乙窗口");

    // Names are case-sensitive: these are no lists of the configuration.
    const BrokerConfigFile lower = parsed(
        "<Brokers><Broker><buttonPositions><ButtonPosition x=\"1\"/></buttonPositions>"
        "<PositionColumnName><columnName Name1=\"a\"/></PositionColumnName></Broker></Brokers>");
    ASSERT_EQ(lower.brokers.size(), 1u);
    EXPECT_TRUE(lower.brokers[0]->buttonPositionList().empty());
    EXPECT_TRUE(lower.brokers[0]->positionTitles().empty());
}

TEST(BrokerConfigFile, TextThatIsNoDocumentLeavesTheResultAlone) {
    for (const char* text : {"", "   ", "<?xml version=\"1.0\"?>", "<!-- only a comment -->", "<Brokers>",
                             "<Brokers><Broker></Brokers>", "\xEF\xBB\xBF", "not xml at all"}) {
        BrokerConfigFile file;
        file.selectedName = L"kept";
        file.brokers.push_back(std::make_unique<BrokerConfig>(L"old", L""));
        EXPECT_FALSE(parseBrokerConfigFile(text, file)) << text;
        EXPECT_EQ(file.selectedName, L"kept");
        EXPECT_EQ(file.brokers.size(), 1u);
    }
    // A byte-order mark and CR LF line ends are read like the plain file.
    std::string crlf = "\xEF\xBB\xBF";
    for (const char* p = kTwoBrokers; *p; ++p) {
        if (*p == '\n') crlf += '\r';
        crlf += *p;
    }
    const BrokerConfigFile file = parsed(crlf);
    EXPECT_EQ(formatBrokerConfigFile(file.brokers, file.selectedName), kTwoBrokers);
}

TEST(BrokerConfigFile, AttributeTextSurvivesWritingAndReading) {
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
    EXPECT_EQ(file.brokers[0]->windowName, L" 交易 ");
    EXPECT_EQ(file.brokers[0]->buttonPositionList(), brokers[0]->buttonPositionList());
    EXPECT_EQ(file.brokers[0]->commitTitles(), brokers[0]->commitTitles());
    EXPECT_EQ(file.brokers[0]->commitOwnNames(), brokers[0]->commitOwnNames());
    EXPECT_EQ(formatBrokerConfigFile(file.brokers, file.selectedName), text);

    // Attribute text is UTF-8; bytes that are not read as U+FFFD.
    const BrokerConfigFile odd =
        parsed("<Brokers Select=\"\xB0\xB2\"><Broker Name=\"\xE5\xB9\xB3\"/></Brokers>");
    EXPECT_EQ(odd.selectedName, L"\uFFFD\uFFFD");
    EXPECT_EQ(odd.brokers[0]->name, L"平");
}

TEST(BrokerConfigFile, ThousandsOfEntriesKeepTheirOrder) {
    BrokerConfigList brokers;
    for (int i = 0; i < 2000; ++i) {
        auto config = std::make_unique<BrokerConfig>(L"券商" + std::to_wstring(i), L"窗口");
        std::vector<ButtonPosition> buttons;
        for (int k = 0; k < 5; ++k) buttons.push_back({L"按钮", i, -k});
        config->setButtonPositions(buttons);
        config->setPositionColumns(StringList(i % 50, L"列"), ownPositionColumnNames());
        brokers.push_back(std::move(config));
    }
    const std::string text = formatBrokerConfigFile(brokers, L"券商1999");
    const BrokerConfigFile file = parsed(text);
    ASSERT_EQ(file.brokers.size(), 2000u);
    EXPECT_EQ(file.brokers[1234]->name, L"券商1234");
    EXPECT_EQ(file.brokers[1234]->buttonPosition(ButtonSlot::Positions)->y, -4);
    EXPECT_EQ(file.brokers[49]->positionTitles().size(), 49u);
    EXPECT_EQ(file.brokers[49]->positionOwnNames()[8], L"当前价");
    EXPECT_EQ(file.brokers[49]->positionOwnNames()[9], L"");
    EXPECT_EQ(formatBrokerConfigFile(file.brokers, file.selectedName), text);
}
