#include "rules/rule_file.h"

#include <tinyxml2.h>

#include <algorithm>
#include <cmath>
#include <limits>

#include "broker/number_text.h"
#include "common/c_format.h"
#include "common/file_store.h"
#include "common/text_encoding.h"
#include "common/xml_trouble.h"

const wchar_t kRuleFileName[] = L"Stock_Config.xml";

namespace {

const wchar_t kKeptSuffix[] = L".unreadable";
const char kTemplate[] = "<?xml version=\"1.0\" encoding=\"UTF-8\"?><Config></Config>";

// "%f" scanning; missing, unreadable and non-finite texts give 0.
float readFloat(const tinyxml2::XMLElement& element, const char* name) {
    const char* text = element.Attribute(name);
    return text ? parseDecimal(std::string(text)) : 0.0f;
}

// Scanned as a number and truncated toward zero (1.9 gives 1); saturates at the 32-bit range.
int32_t readTruncated(const tinyxml2::XMLElement& element, const char* name) {
    const float value = readFloat(element, name);
    if (value >= 2147483647.0f) return std::numeric_limits<int32_t>::max();
    if (value <= -2147483648.0f) return std::numeric_limits<int32_t>::min();
    return static_cast<int32_t>(value);
}

// True for a positive integer or exactly "true"; anything else, and a missing attribute, is false.
bool readFlag(const tinyxml2::XMLElement& element, const char* name) {
    const char* text = element.Attribute(name);
    if (!text) return false;
    const std::string value(text);
    return value == "true" || parseInteger(value) > 0;
}

void writeFloat(tinyxml2::XMLElement& element, const char* name, float value) {
    // A value that could not have been read back is written as the 0 it would read as.
    const double shown = std::isfinite(value) ? static_cast<double>(value) : 0.0;
    element.SetAttribute(name, halyard::cformat("%f", shown).c_str());
}

void writeInteger(tinyxml2::XMLElement& element, const char* name, int32_t value) {
    element.SetAttribute(name, halyard::cformat("%d", static_cast<int>(value)).c_str());
}

// A raw CR in an attribute reads as LF, so a CR that came from "&#13;" is taken as the LF
// that the saved file will give back at the next start.
std::wstring readCode(const char* text) {
    std::wstring code = halyard::fromUtf8OrAnsi(text);
    std::replace(code.begin(), code.end(), L'\r', L'\n');
    return code;
}

StockRule readRule(const tinyxml2::XMLElement& element, const char* code) {
    StockRule rule;
    rule.Code = readCode(code);
    rule.StopLoss = readFloat(element, "StopLoss");
    rule.Profit = readFloat(element, "Profit");
    rule.MoveStopLoss = readFloat(element, "MoveStopLoss");
    rule.MoveStopLossTriggerPrice = readFloat(element, "MoveStopLossTriggerPrice");
    rule.ApplyMoveStopLoss = readFlag(element, "ApplyMoveStopLoss");
    rule.High = readFloat(element, "High");
    rule.HasTrigerMoveStopPrice = readFlag(element, "HasTrigerMoveStopPrice");
    rule.MessageOnly = readFlag(element, "MessageOnly") ? 1 : 0;
    rule.StopLossType = readTruncated(element, "StopLossType");
    rule.TakeProfitType = readTruncated(element, "TakeProfitType");
    rule.SlipPrice = readTruncated(element, "SlipPrice");
    return rule;
}

void writeRule(tinyxml2::XMLElement& element, const StockRule& rule) {
    element.SetAttribute("Code", halyard::toUtf8(rule.Code).c_str());
    writeFloat(element, "StopLoss", rule.StopLoss);
    writeFloat(element, "Profit", rule.Profit);
    writeFloat(element, "MoveStopLoss", rule.MoveStopLoss);
    writeFloat(element, "MoveStopLossTriggerPrice", rule.MoveStopLossTriggerPrice);
    writeInteger(element, "ApplyMoveStopLoss", rule.ApplyMoveStopLoss ? 1 : 0);
    writeFloat(element, "High", rule.High);
    writeInteger(element, "HasTrigerMoveStopPrice", rule.HasTrigerMoveStopPrice ? 1 : 0);
    writeInteger(element, "MessageOnly", rule.MessageOnly);
    writeInteger(element, "StopLossType", rule.StopLossType);
    writeInteger(element, "TakeProfitType", rule.TakeProfitType);
    writeInteger(element, "SlipPrice", rule.SlipPrice);
}

}  // namespace

RuleTable parseRuleDocument(const std::string& bytes) {
    std::wstring trouble;
    return parseRuleDocument(bytes, trouble);
}

RuleTable parseRuleDocument(const std::string& bytes, std::wstring& trouble) {
    RuleTable rules;
    tinyxml2::XMLDocument document;
    document.Parse(bytes.data(), bytes.size());
    const tinyxml2::XMLElement* root = document.Error() ? nullptr : document.FirstChildElement();
    if (!root) {
        trouble = halyard::xmlTroubleText(document);
        return rules;
    }
    for (const tinyxml2::XMLElement* element = root->FirstChildElement("Stock"); element;
         element = element->NextSiblingElement()) {
        // An element without a Code belongs to no stock and is skipped; an empty Code is kept.
        const char* code = element->Attribute("Code");
        if (!code) continue;
        StockRule rule = readRule(*element, code);
        rules.emplace(rule.Code, std::move(rule));  // the first element for a code wins
    }
    return rules;
}

std::string formatRuleDocument(const RuleTable& rules) {
    tinyxml2::XMLDocument document;
    document.Parse(kTemplate);
    tinyxml2::XMLElement* root = document.FirstChildElement();
    for (const auto& entry : rules) {
        tinyxml2::XMLElement* stock = document.NewElement("Stock");
        root->InsertEndChild(stock);
        writeRule(*stock, entry.second);
    }
    tinyxml2::XMLPrinter printer;
    document.Print(&printer);
    return std::string(printer.CStr(), static_cast<size_t>(printer.CStrSize() - 1));
}

RuleFileRead readRuleFile(const std::wstring& folder) {
    const std::wstring path = folder + kRuleFileName;
    RuleFileRead read;
    std::string bytes;
    std::wstring why;
    switch (halyard::readDataFile(path, bytes)) {
        case halyard::FileRead::Missing:
            return read;
        case halyard::FileRead::Unreadable:
            why = halyard::kFileNotReadable;
            break;
        case halyard::FileRead::Read:
            read.rules = parseRuleDocument(bytes, why);
            break;
    }
    if (!why.empty())
        read.trouble = L"规则文件无法读取: " + path + L"\n原因: " + why +
                       L"\n其中的止盈止损规则没有载入, 这些股票现在没有保护。文件保持原样: 可以改好后重新启动"
                       L"助手; 在助手中修改规则后, 原文件保留为 " +
                       kRuleFileName + kKeptSuffix + L"。";
    return read;
}

RuleTable loadRules(const std::wstring& folder) {
    return readRuleFile(folder).rules;
}

bool keepUnreadableRuleFile(const std::wstring& folder) {
    const std::wstring path = folder + kRuleFileName;
    return halyard::keepFileAside(path, path + kKeptSuffix);
}

bool saveRules(const std::wstring& folder, const RuleTable& rules) {
    return halyard::replaceFileAtomically(folder + kRuleFileName,
                                          halyard::withPlatformLineEnds(formatRuleDocument(rules)));
}
