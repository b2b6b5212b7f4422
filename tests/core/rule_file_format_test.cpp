// The written form of Stock_Config.xml, byte for byte, under either C library.
#include <gtest/gtest.h>

#include <initializer_list>
#include <limits>

#include "rules/rule_file.h"

namespace {

const char kDeclaration[] = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";

StockRule exampleRule(const std::wstring& code) {
    StockRule rule;
    rule.Code = code;
    rule.StopLoss = 5;
    rule.Profit = 10;
    rule.MoveStopLoss = 2;
    rule.MoveStopLossTriggerPrice = 5;
    rule.ApplyMoveStopLoss = true;
    rule.High = 12.34f;
    rule.SlipPrice = 2;
    return rule;
}

std::string exampleLine(const std::string& code) {
    return "    <Stock Code=\"" + code +
           "\" StopLoss=\"5.000000\" Profit=\"10.000000\" MoveStopLoss=\"2.000000\" "
           "MoveStopLossTriggerPrice=\"5.000000\" ApplyMoveStopLoss=\"1\" High=\"12.340000\" "
           "HasTrigerMoveStopPrice=\"0\" MessageOnly=\"0\" StopLossType=\"0\" TakeProfitType=\"0\" "
           "SlipPrice=\"2\"/>\n";
}

// The text written for one float attribute.
std::string writtenHigh(float high) {
    StockRule rule;
    rule.Code = L"1";
    rule.High = high;
    const std::string text = formatRuleDocument({{rule.Code, rule}});
    const std::string key = " High=\"";
    const size_t start = text.find(key) + key.size();
    return text.substr(start, text.find('"', start) - start);
}

}  // namespace

TEST(RuleFileFormat, EmptyTableIsDeclarationAndEmptyConfig) {
    EXPECT_EQ(formatRuleDocument({}), std::string(kDeclaration) + "<Config/>\n");
}

TEST(RuleFileFormat, ExampleRuleIsOneIndentedStockLine) {
    const StockRule rule = exampleRule(L"600036");
    EXPECT_EQ(formatRuleDocument({{rule.Code, rule}}),
              std::string(kDeclaration) + "<Config>\n" + exampleLine("600036") + "</Config>\n");
}

TEST(RuleFileFormat, RulesAreWrittenInCodeOrderWithCodeFromTheRule) {
    RuleTable rules;
    for (const wchar_t* code : {L"600036", L"000001", L"300750"}) rules[code] = exampleRule(code);
    EXPECT_EQ(formatRuleDocument(rules), std::string(kDeclaration) + "<Config>\n" + exampleLine("000001") +
                                             exampleLine("300750") + exampleLine("600036") + "</Config>\n");

    // The key only orders; the written code is the rule's own.
    RuleTable mismatched{{L"000001", exampleRule(L"999999")}};
    EXPECT_NE(formatRuleDocument(mismatched).find("Code=\"999999\""), std::string::npos);
}

TEST(RuleFileFormat, FloatsAreSixDecimalsOfTheWidenedValue) {
    EXPECT_EQ(writtenHigh(0.1234567f), "0.123457");
    EXPECT_EQ(writtenHigh(12.3456789f), "12.345679");
    EXPECT_EQ(writtenHigh(-5.5f), "-5.500000");
    EXPECT_EQ(writtenHigh(1e-7f), "0.000000");
    EXPECT_EQ(writtenHigh(16777217.0f), "16777216.000000");
    // Exact decimal expansion and ties to even: the C libraries differ here unless both are exact.
    EXPECT_EQ(writtenHigh(0.0078125f), "0.007812");
    EXPECT_EQ(writtenHigh(123456.789f), "123456.789062");
    EXPECT_EQ(writtenHigh(1e10f), "10000000000.000000");
    EXPECT_EQ(writtenHigh(3e38f), "300000000549775575777803994281145270272.000000");
}

TEST(RuleFileFormat, NonFiniteValuesAreWrittenAsTheZeroTheyWouldReadAs) {
    EXPECT_EQ(writtenHigh(std::numeric_limits<float>::infinity()), "0.000000");
    EXPECT_EQ(writtenHigh(std::numeric_limits<float>::quiet_NaN()), "0.000000");
}

TEST(RuleFileFormat, IntegersAndFlagsAsDecimalNumbers) {
    StockRule rule;
    rule.Code = L"1";
    rule.HasTrigerMoveStopPrice = true;
    rule.MessageOnly = 1;
    rule.StopLossType = 1;
    rule.TakeProfitType = -7;
    rule.SlipPrice = std::numeric_limits<int32_t>::min();
    const std::string text = formatRuleDocument({{rule.Code, rule}});
    EXPECT_NE(
        text.find(" ApplyMoveStopLoss=\"0\" High=\"0.000000\" HasTrigerMoveStopPrice=\"1\" MessageOnly=\"1\" "
                  "StopLossType=\"1\" TakeProfitType=\"-7\" SlipPrice=\"-2147483648\"/>"),
        std::string::npos)
        << text;
}

TEST(RuleFileFormat, CodeIsWrittenAsUtf8AndEscaped) {
    StockRule rule;
    rule.Code = L"平安&<\"'>";
    const std::string text = formatRuleDocument({{rule.Code, rule}});
    EXPECT_NE(text.find("Code=\"\xE5\xB9\xB3\xE5\xAE\x89&amp;&lt;&quot;&apos;&gt;\""), std::string::npos)
        << text;
}

TEST(RuleFileFormat, SaveAndReloadGivesTheSameTableAndText) {
    RuleTable rules;
    StockRule a = exampleRule(L"600036");
    a.High = 12.3456789f;
    a.HasTrigerMoveStopPrice = true;
    a.StopLossType = 1;
    a.TakeProfitType = 1;
    a.MessageOnly = 1;
    a.Profit = 1e-7f;
    rules[a.Code] = a;
    StockRule b = exampleRule(L"平安银行");
    b.StopLoss = -3.25f;
    b.SlipPrice = 10;
    b.ApplyMoveStopLoss = false;
    rules[b.Code] = b;

    const std::string first = formatRuleDocument(rules);
    const RuleTable reread = parseRuleDocument(first);
    EXPECT_EQ(formatRuleDocument(reread), first);
    ASSERT_EQ(reread.size(), 2u);
    const StockRule& back = reread.at(L"600036");
    EXPECT_EQ(back.High, 12.345679f);  // six decimals survive, not the float's full value
    EXPECT_EQ(back.Profit, 0.0f);
    EXPECT_TRUE(back.HasTrigerMoveStopPrice);
    EXPECT_EQ(back.MessageOnly, 1);
    EXPECT_EQ(back.StopLossType, 1);
    EXPECT_EQ(reread.at(L"平安银行").StopLoss, -3.25f);
    EXPECT_EQ(reread.at(L"平安银行").SlipPrice, 10);
    EXPECT_FALSE(reread.at(L"平安银行").ApplyMoveStopLoss);
}
