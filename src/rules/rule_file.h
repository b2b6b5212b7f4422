#pragma once
// Stock_Config.xml: the rule table as it is kept beside the executable between runs.
#include <string>

#include "rules/stock_rule.h"

// The file name inside the executable's folder.
extern const wchar_t kRuleFileName[];

// Malformed or empty text gives an empty table; unreadable attributes read as 0 or false.
RuleTable parseRuleDocument(const std::string& bytes);
// As above; `trouble` says why a document gave no table (not well-formed, no element).
RuleTable parseRuleDocument(const std::string& bytes, std::wstring& trouble);
// LF line ends; the layout tinyxml2's default printer gives.
std::string formatRuleDocument(const RuleTable& rules);

// The table read from the file, or, when a file is there but gives no table, the message that
// tells the investor which file and why. A missing file is no trouble: the table is empty.
struct RuleFileRead {
    RuleTable rules;
    std::wstring trouble;
};
// `folder` ends with a separator.
RuleFileRead readRuleFile(const std::wstring& folder);
// The table of readRuleFile; an unreadable file gives an empty table.
RuleTable loadRules(const std::wstring& folder);
// Replaces the file in one step; on failure the previous file stays as it was.
bool saveRules(const std::wstring& folder, const RuleTable& rules);
// Keeps the file that could not be read beside it as Stock_Config.xml.unreadable before the
// first save over it; false when it could not be kept (then nothing may be written).
bool keepUnreadableRuleFile(const std::wstring& folder);
