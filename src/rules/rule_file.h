#pragma once
// Stock_Config.xml: the rule table as it is kept beside the executable between runs.
#include <string>

#include "rules/stock_rule.h"

// The file name inside the executable's folder.
extern const wchar_t kRuleFileName[];

// Malformed or empty text gives an empty table; unreadable attributes read as 0 or false.
RuleTable parseRuleDocument(const std::string& bytes);
// LF line ends; the layout tinyxml2's default printer gives.
std::string formatRuleDocument(const RuleTable& rules);

// `folder` ends with a separator. A missing or unreadable file gives an empty table.
RuleTable loadRules(const std::wstring& folder);
// Replaces the file in one step; on failure the previous file stays as it was.
bool saveRules(const std::wstring& folder, const RuleTable& rules);
