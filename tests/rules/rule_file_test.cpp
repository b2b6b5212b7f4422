// Stock_Config.xml as text: the written form byte for byte under either C library, and what
// hand-edited or damaged texts read as.
#include <gtest/gtest.h>

#include <limits>

#ifdef _WIN32
#include <windows.h>
#endif

#include "common/text_encoding.h"
#include "rules/rule_file.h"

namespace {

constexpr int32_t kMax = std::numeric_limits<int32_t>::max();
constexpr int32_t kMin = std::numeric_limits<int32_t>::min();
const std::string kDeclaration = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";

std::string document(const std::string& body) {
    return kDeclaration + "<Config>\n" + body + "</Config>\n";
}

template <typename T>
struct Case {
    std::string text;
    T expected;
};

// The one rule read from a Stock element with these attributes (Code 1 added).
StockRule readOne(const std::string& attributes) {
    const RuleTable rules = parseRuleDocument(document("<Stock Code=\"1\" " + attributes + "/>\n"));
    EXPECT_EQ(rules.size(), 1u);
    return rules.empty() ? StockRule{} : rules.begin()->second;
}

}  // namespace

TEST(RuleFile, EveryFieldIsWrittenInItsPlaceAndReadBack) {
    // Code, Profit, StopLoss, MoveStopLossTriggerPrice, MoveStopLoss, High, ApplyMoveStopLoss,
    // HasTrigerMoveStopPrice, StopLossType, TakeProfitType, SlipPrice, MessageOnly.
    const StockRule a{L"600036", 10, 5, 7, 2, 12.34f, true, false, 0, 1, 2, 1};
    const StockRule b{L"000001", 0, -3.25f, 0, 0, 0, false, true, 1, -7, kMin, 0};
    const RuleTable rules{{a.Code, a}, {b.Code, b}};
    const std::string text = formatRuleDocument(rules);
    EXPECT_EQ(text,
              kDeclaration +
                  "<Config>\n"
                  "    <Stock Code=\"000001\" StopLoss=\"-3.250000\" Profit=\"0.000000\" "
                  "MoveStopLoss=\"0.000000\" MoveStopLossTriggerPrice=\"0.000000\" ApplyMoveStopLoss=\"0\" "
                  "High=\"0.000000\" HasTrigerMoveStopPrice=\"1\" MessageOnly=\"0\" StopLossType=\"1\" "
                  "TakeProfitType=\"-7\" SlipPrice=\"-2147483648\"/>\n"
                  "    <Stock Code=\"600036\" StopLoss=\"5.000000\" Profit=\"10.000000\" "
                  "MoveStopLoss=\"2.000000\" MoveStopLossTriggerPrice=\"7.000000\" ApplyMoveStopLoss=\"1\" "
                  "High=\"12.340000\" HasTrigerMoveStopPrice=\"0\" MessageOnly=\"1\" StopLossType=\"0\" "
                  "TakeProfitType=\"1\" SlipPrice=\"2\"/>\n"
                  "</Config>\n");
    EXPECT_EQ(parseRuleDocument(text), rules);
    EXPECT_EQ(formatRuleDocument({}), kDeclaration + "<Config/>\n");
    // The key only orders; the written code is the rule's own.
    EXPECT_NE(formatRuleDocument({{L"1", a}}).find("Code=\"600036\""), std::string::npos);
}

TEST(RuleFile, FloatsAreSixDecimalsOfTheWidenedValue) {
    // Exact decimal expansion with ties to even, where C libraries differ unless both are exact;
    // what could not be read back is written as the 0 it would read as.
    const struct {
        float value;
        const char* written;
    } cases[] = {{1e-7f, "0.000000"},      {123456.789f, "123456.789062"},
                 {0.1234567f, "0.123457"}, {std::numeric_limits<float>::infinity(), "0.000000"},
                 {0.0078125f, "0.007812"}, {std::numeric_limits<float>::quiet_NaN(), "0.000000"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.written);
        const std::string text = formatRuleDocument({{L"", StockRule{L"", 0, 0, 0, 0, c.value}}});
        EXPECT_NE(text.find(std::string(" High=\"") + c.written + "\" "), std::string::npos) << text;
    }
    const std::string huge = formatRuleDocument({{L"", StockRule{L"", 0, 0, 0, 0, 3e38f}}});
    EXPECT_NE(huge.find("\"300000000549775575777803994281145270272.000000\""), std::string::npos);
}

TEST(RuleFile, HandEditedValuesReadAsNumbersOrZero) {
    // Floats as far as they are a number; unreadable, huge and non-finite ones are 0.
    const Case<float> floats[] = {{"  4.5%", 4.5f}, {".5", 0.5f}, {"1e", 1},  {"abc", 0},
                                  {"", 0},          {"nan", 0},   {"inf", 0}, {"1e39", 0}};
    for (const auto& c : floats) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(readOne("StopLoss=\"" + c.text + "\"").StopLoss, c.expected);
    }
    EXPECT_EQ(readOne("High=\"" + std::string(5000, '9') + "\"").High, 0.0f);
    EXPECT_EQ(readOne("High=\"0." + std::string(5000, '0') + "1\"").High, 0.0f);
    // Integers are scanned as numbers, truncated toward zero and saturated at 32 bits.
    const Case<int32_t> integers[] = {{"1.9", 1}, {"-1.9", -1},   {"2e1", 20},    {"abc", 0},
                                      {"inf", 0}, {"1e20", kMax}, {"-1e20", kMin}};
    for (const auto& c : integers) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(readOne("SlipPrice=\"" + c.text + "\"").SlipPrice, c.expected);
    }
    // Flags are a positive integer or exactly "true".
    const Case<bool> flags[] = {{"1", true},   {"2", true},    {"true", true},  {" 3x", true}, {"0", false},
                                {"-1", false}, {"yes", false}, {"TRUE", false}, {"", false}};
    for (const auto& c : flags) {
        SCOPED_TRACE(c.text);
        const StockRule rule = readOne("ApplyMoveStopLoss=\"" + c.text + "\" MessageOnly=\"" + c.text + "\"");
        EXPECT_EQ(rule.ApplyMoveStopLoss, c.expected);
        EXPECT_EQ(rule.MessageOnly, c.expected ? 1 : 0);
    }
    EXPECT_EQ(readOne(""), StockRule{L"1"});  // missing attributes are 0 and false
}

TEST(RuleFile, StockElementsFromTheFirstOnAreRulesAndTheFirstForACodeWins) {
    const RuleTable rules = parseRuleDocument(
        "<?xml version=\"1.0\"?>\n<Rules>\n"
        "  <Other Code=\"111111\"/>\n"  // before the first Stock
        "  <Stock StopLoss=\"9\"/>\n"   // no code, no rule
        "  <Stock Code=\"222222\" StopLoss=\"1\"/>\n"
        "  <!-- a comment -->text between\n"
        "  <Item Code=\"333333\" StopLoss=\"2\"><Stock Code=\"444444\"/></Item>\n"  // children are none
        "  <Stock Code=\"\" StopLoss=\"3\"/>\n"                                     // an empty code is one
        "  <Stock Code=\"222222\" StopLoss=\"4\"/>\n"
        "</Rules>\n"
        "<Config><Stock Code=\"555555\"/></Config>\n");  // only the first root element counts
    ASSERT_EQ(rules.size(), 3u);
    EXPECT_EQ(rules.at(L"222222").StopLoss, 1.0f);
    EXPECT_EQ(rules.at(L"333333").StopLoss, 2.0f);
    EXPECT_EQ(rules.at(L"").StopLoss, 3.0f);
}

TEST(RuleFile, DamagedDocumentsGiveAnEmptyTable) {
    const std::string whole = document("<Stock Code=\"600036\"/>\n<Stock Code=\"000001\"/>\n");
    // Every truncation short of the closing tag is malformed: nothing of it is taken.
    for (size_t cut = 0; cut + 1 < whole.size(); ++cut)
        EXPECT_TRUE(parseRuleDocument(whole.substr(0, cut)).empty()) << cut;
    EXPECT_EQ(parseRuleDocument(whole).size(), 2u);
    EXPECT_TRUE(parseRuleDocument(std::string("\0\0\0", 3)).empty());
    // Nesting too deep for the parser is refused without harm.
    std::string deep = "<Config><Stock Code=\"1\"/>";
    for (int i = 0; i < 100000; ++i) deep += "<a>";
    for (int i = 0; i < 100000; ++i) deep += "</a>";
    EXPECT_TRUE(parseRuleDocument(deep + "</Config>").empty());
}

TEST(RuleFile, CodeIsUtf8WithAnsiFallbackAndSurvivesASave) {
    const RuleTable escaped{{L"平安&<\"'>", StockRule{L"平安&<\"'>"}}};
    const std::string text = formatRuleDocument(escaped);
    EXPECT_NE(text.find("Code=\"\xE5\xB9\xB3\xE5\xAE\x89&amp;&lt;&quot;&apos;&gt;\""), std::string::npos)
        << text;
    EXPECT_EQ(parseRuleDocument(text), escaped);
    // Older files hold the code in the ANSI code page; saved again it is UTF-8.
    const std::string ansi = "\xC6\xBD\xB0\xB2";
    ASSERT_FALSE(halyard::isValidUtf8(ansi));
    const RuleTable rules = parseRuleDocument(document("<Stock Code=\"" + ansi + "\"/>"));
    ASSERT_EQ(rules.size(), 1u);
    EXPECT_EQ(rules.begin()->second.Code, halyard::fromAnsi(ansi));
#ifdef _WIN32
    if (GetACP() == 936) {
        EXPECT_EQ(rules.begin()->first, L"平安");
    }
#else
    EXPECT_EQ(rules.begin()->first, L"\u00C6\u00BD\u00B0\u00B2");
#endif
    EXPECT_EQ(parseRuleDocument(formatRuleDocument(rules)), rules);
    // A CR from "&#13;" is taken as the LF that the saved file gives back.
    const RuleTable references = parseRuleDocument(document("<Stock Code=\"60&#48;036&#13;&amp;\"/>"));
    EXPECT_EQ(references.begin()->first, L"600036\n&");
    EXPECT_EQ(parseRuleDocument(formatRuleDocument(references)), references);
}
