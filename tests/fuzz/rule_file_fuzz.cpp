// Any bytes as Stock_Config.xml: reading never fails, and what is written once reads back to
// the same text.
#include <cstddef>
#include <cstdint>
#include <string>

#include "rules/rule_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    const std::string first = formatRuleDocument(parseRuleDocument(bytes));
    const std::string second = formatRuleDocument(parseRuleDocument(first));
    if (second != first) __builtin_trap();
    return 0;
}
