// Reading Stock_Config.xml: what each hand-edited or damaged text gives.
#include <gtest/gtest.h>

#ifdef _WIN32
#include <windows.h>
#endif

#include "common/text_encoding.h"
#include "rules/rule_file.h"

namespace {

std::string document(const std::string& body) {
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<Config>\n" + body + "</Config>\n";
}

// The one rule read from a Stock element with these attributes (Code 1 added).
StockRule readOne(const std::string& attributes) {
    const RuleTable rules = parseRuleDocument(document("<Stock Code=\"1\" " + attributes + "/>\n"));
    EXPECT_EQ(rules.size(), 1u);
    return rules.empty() ? StockRule{} : rules.begin()->second;
}

bool readsApply(const std::string& text) {
    return readOne("ApplyMoveStopLoss=\"" + text + "\"").ApplyMoveStopLoss;
}

}  // namespace

TEST(RuleFileRead, EveryAttributeLandsInItsField) {
    const StockRule rule = readOne(
        "StopLoss=\"5.5\" Profit=\"10.25\" MoveStopLoss=\"2\" MoveStopLossTriggerPrice=\"7\" "
        "ApplyMoveStopLoss=\"1\" High=\"12.34\" HasTrigerMoveStopPrice=\"1\" MessageOnly=\"1\" "
        "StopLossType=\"1\" TakeProfitType=\"1\" SlipPrice=\"3\"");
    EXPECT_EQ(rule.Code, L"1");
    EXPECT_EQ(rule.StopLoss, 5.5f);
    EXPECT_EQ(rule.Profit, 10.25f);
    EXPECT_EQ(rule.MoveStopLoss, 2.0f);
    EXPECT_EQ(rule.MoveStopLossTriggerPrice, 7.0f);
    EXPECT_TRUE(rule.ApplyMoveStopLoss);
    EXPECT_EQ(rule.High, 12.34f);
    EXPECT_TRUE(rule.HasTrigerMoveStopPrice);
    EXPECT_EQ(rule.MessageOnly, 1);
    EXPECT_EQ(rule.StopLossType, 1);
    EXPECT_EQ(rule.TakeProfitType, 1);
    EXPECT_EQ(rule.SlipPrice, 3);
}

TEST(RuleFileRead, MissingAttributesAreZeroAndFalse) {
    const StockRule rule = readOne("");
    EXPECT_EQ(rule.StopLoss, 0.0f);
    EXPECT_EQ(rule.High, 0.0f);
    EXPECT_FALSE(rule.ApplyMoveStopLoss);
    EXPECT_FALSE(rule.HasTrigerMoveStopPrice);
    EXPECT_EQ(rule.MessageOnly, 0);
    EXPECT_EQ(rule.SlipPrice, 0);
}

TEST(RuleFileRead, BooleansArePositiveIntegersOrExactlyTrue) {
    EXPECT_TRUE(readsApply("1"));
    EXPECT_TRUE(readsApply("2"));
    EXPECT_TRUE(readsApply("true"));
    EXPECT_TRUE(readsApply(" 3x"));
    EXPECT_TRUE(readsApply("99999999999"));
    EXPECT_FALSE(readsApply("0"));
    EXPECT_FALSE(readsApply("-1"));
    EXPECT_FALSE(readsApply("yes"));
    EXPECT_FALSE(readsApply("TRUE"));
    EXPECT_FALSE(readsApply("True"));
    EXPECT_FALSE(readsApply(""));
    EXPECT_EQ(readOne("MessageOnly=\"5\"").MessageOnly, 1);
    EXPECT_EQ(readOne("MessageOnly=\"-5\"").MessageOnly, 0);
}

TEST(RuleFileRead, IntegerFieldsAreScannedAsNumbersAndTruncated) {
    EXPECT_EQ(readOne("StopLossType=\"1.9\"").StopLossType, 1);
    EXPECT_EQ(readOne("TakeProfitType=\"-1.9\"").TakeProfitType, -1);
    EXPECT_EQ(readOne("SlipPrice=\"2e1\"").SlipPrice, 20);
    EXPECT_EQ(readOne("SlipPrice=\"0.99\"").SlipPrice, 0);
    EXPECT_EQ(readOne("SlipPrice=\"abc\"").SlipPrice, 0);
    // Beyond the 32-bit range the value saturates instead of overflowing.
    EXPECT_EQ(readOne("SlipPrice=\"1e20\"").SlipPrice, 2147483647);
    EXPECT_EQ(readOne("SlipPrice=\"-1e20\"").SlipPrice, -2147483647 - 1);
}

TEST(RuleFileRead, UnreadableHugeAndNonFiniteNumbersAreZero) {
    EXPECT_EQ(readOne("StopLoss=\"abc\"").StopLoss, 0.0f);
    EXPECT_EQ(readOne("StopLoss=\"\"").StopLoss, 0.0f);
    EXPECT_EQ(readOne("StopLoss=\"nan\"").StopLoss, 0.0f);
    EXPECT_EQ(readOne("StopLoss=\"NAN\"").StopLoss, 0.0f);
    EXPECT_EQ(readOne("StopLoss=\"inf\"").StopLoss, 0.0f);
    EXPECT_EQ(readOne("StopLoss=\"-infinity\"").StopLoss, 0.0f);
    EXPECT_EQ(readOne("StopLoss=\"1e39\"").StopLoss, 0.0f);
    EXPECT_EQ(readOne("StopLoss=\"-1e999\"").StopLoss, 0.0f);
    EXPECT_EQ(readOne("High=\"" + std::string(5000, '9') + "\"").High, 0.0f);
    EXPECT_EQ(readOne("High=\"0." + std::string(5000, '0') + "1\"").High, 0.0f);
    EXPECT_EQ(readOne("StopLossType=\"nan\"").StopLossType, 0);
    EXPECT_EQ(readOne("SlipPrice=\"inf\"").SlipPrice, 0);
    // A number followed by other text reads as far as it goes.
    EXPECT_EQ(readOne("StopLoss=\"  4.5%\"").StopLoss, 4.5f);
    EXPECT_EQ(readOne("StopLoss=\"+3\"").StopLoss, 3.0f);
    EXPECT_EQ(readOne("StopLoss=\".5\"").StopLoss, 0.5f);
    EXPECT_EQ(readOne("StopLoss=\"1e\"").StopLoss, 1.0f);
}

TEST(RuleFileRead, ElementsAreVisitedFromTheFirstStockOnWhateverTheirNames) {
    const RuleTable rules = parseRuleDocument(
        "<?xml version=\"1.0\"?>\n<Rules>\n"
        "  <Other Code=\"111111\"/>\n"
        "  <!-- a comment -->\n"
        "  <Stock Code=\"222222\" StopLoss=\"1\"/>\n"
        "  text between\n"
        "  <Item Code=\"333333\" StopLoss=\"2\"><Stock Code=\"444444\"/></Item>\n"
        "</Rules>\n");
    ASSERT_EQ(rules.size(), 2u);
    EXPECT_EQ(rules.count(L"111111"), 0u);  // before the first Stock
    EXPECT_EQ(rules.at(L"222222").StopLoss, 1.0f);
    EXPECT_EQ(rules.at(L"333333").StopLoss, 2.0f);
    EXPECT_EQ(rules.count(L"444444"), 0u);  // children are not rules
}

TEST(RuleFileRead, FirstElementForACodeWins) {
    const RuleTable rules =
        parseRuleDocument(document("<Stock Code=\"600036\" StopLoss=\"1\"/><Stock Code=\"000001\"/><Stock "
                                   "Code=\"600036\" StopLoss=\"2\"/>"));
    ASSERT_EQ(rules.size(), 2u);
    EXPECT_EQ(rules.at(L"600036").StopLoss, 1.0f);
    // Sorted by code when written, one element per code.
    const std::string text = formatRuleDocument(rules);
    EXPECT_LT(text.find("000001"), text.find("600036"));
    EXPECT_EQ(text.find("600036"), text.rfind("600036"));
}

TEST(RuleFileRead, StockWithoutCodeIsSkippedButAnEmptyCodeIsARule) {
    const RuleTable rules = parseRuleDocument(
        document("<Stock StopLoss=\"9\"/><Stock Code=\"\" StopLoss=\"3\"/><Stock Code=\"1\"/>"));
    ASSERT_EQ(rules.size(), 2u);
    EXPECT_EQ(rules.at(L"").StopLoss, 3.0f);
    EXPECT_EQ(rules.count(L"1"), 1u);
}

TEST(RuleFileRead, DamagedDocumentsGiveAnEmptyTable) {
    const std::string whole = document("<Stock Code=\"600036\"/>\n<Stock Code=\"000001\"/>\n");
    EXPECT_TRUE(parseRuleDocument("").empty());
    EXPECT_TRUE(parseRuleDocument("   \n").empty());
    EXPECT_TRUE(parseRuleDocument("not xml at all").empty());
    EXPECT_TRUE(parseRuleDocument(std::string("\0\0\0", 3)).empty());
    EXPECT_TRUE(parseRuleDocument("<?xml version=\"1.0\"?>").empty());
    EXPECT_TRUE(parseRuleDocument("<Config><Other/></Config>").empty());
    // Every truncation short of the closing tag is malformed: nothing of it is taken.
    for (size_t cut = 0; cut + 1 < whole.size(); ++cut)
        EXPECT_TRUE(parseRuleDocument(whole.substr(0, cut)).empty()) << cut;
    EXPECT_EQ(parseRuleDocument(whole).size(), 2u);
}

TEST(RuleFileRead, OnlyTheFirstRootElementIsRead) {
    const RuleTable rules =
        parseRuleDocument("<Config><Stock Code=\"1\"/></Config><Config><Stock Code=\"2\"/></Config>");
    ASSERT_EQ(rules.size(), 1u);
    EXPECT_EQ(rules.begin()->first, L"1");
}

TEST(RuleFileRead, DeepNestingIsRefusedWithoutHarm) {
    std::string deep = "<Config><Stock Code=\"1\"/>";
    for (int i = 0; i < 100000; ++i) deep += "<a>";
    for (int i = 0; i < 100000; ++i) deep += "</a>";
    deep += "</Config>";
    EXPECT_TRUE(parseRuleDocument(deep).empty());
}

TEST(RuleFileRead, CodeIsUtf8WithAnsiFallback) {
    // Valid UTF-8 is taken as UTF-8, also where the bytes would mean something else as ANSI.
    const std::string utf8 = "\xE5\xB9\xB3\xE5\xAE\x89";
    EXPECT_EQ(parseRuleDocument(document("<Stock Code=\"" + utf8 + "\"/>")).begin()->first, L"平安");
    // Older files hold the code in the ANSI code page.
    const std::string ansi = "\xC6\xBD\xB0\xB2";
    ASSERT_FALSE(halyard::isValidUtf8(ansi));
    const RuleTable rules = parseRuleDocument(document("<Stock Code=\"" + ansi + "\"/>"));
    ASSERT_EQ(rules.size(), 1u);
    EXPECT_EQ(rules.begin()->first, halyard::fromAnsi(ansi));
    EXPECT_EQ(rules.begin()->second.Code, halyard::fromAnsi(ansi));
#ifdef _WIN32
    if (GetACP() == 936) {
        EXPECT_EQ(rules.begin()->first, L"平安");
    }
#else
    EXPECT_EQ(rules.begin()->first, L"\u00C6\u00BD\u00B0\u00B2");
#endif
    // Once saved, the code is UTF-8 and reads back the same.
    EXPECT_EQ(parseRuleDocument(formatRuleDocument(rules)), rules);
}

TEST(RuleFileRead, CharacterReferencesInCodesSurviveASave) {
    const RuleTable rules = parseRuleDocument(document("<Stock Code=\"60&#48;036&#13;&amp;\"/>"));
    ASSERT_EQ(rules.size(), 1u);
    EXPECT_EQ(rules.begin()->first, L"600036\n&");
    const std::string text = formatRuleDocument(rules);
    EXPECT_EQ(formatRuleDocument(parseRuleDocument(text)), text);
}
