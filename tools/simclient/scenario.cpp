#include "simclient/scenario.h"

#include <algorithm>

#include "common/text_encoding.h"
#include "simclient/command_text.h"

namespace halyard::simclient {

Scenario parseScenario(const std::string& utf8) {
    Scenario scenario;
    std::string bytes = utf8;
    if (bytes.compare(0, 3, "\xEF\xBB\xBF") == 0) bytes.erase(0, 3);
    const std::wstring text = fromUtf8(bytes);
    size_t start = 0;
    int lineNumber = 0;
    while (start <= text.size()) {
        size_t end = text.find(L'\n', start);
        if (end == std::wstring::npos) end = text.size();
        std::wstring line = text.substr(start, end - start);
        start = end + 1;
        ++lineNumber;
        if (!line.empty() && line.back() == L'\r') line.pop_back();
        const auto words = splitCommand(line);
        if (words.empty() || words[0][0] == L'#') continue;
        ScenarioStep step;
        step.line = lineNumber;
        if (words[0] == L"at") {
            int64_t ms = 0;
            if (words.size() < 3 || !parseWholeInteger(words[1], ms) || ms < 0) {
                scenario.badLines.push_back(lineNumber);
                continue;
            }
            step.atMs = ms;
            // The command is the rest of the line as written.
            const size_t at = line.find(words[1]) + words[1].size();
            const size_t first = line.find_first_not_of(L" \t", at);
            step.command = line.substr(first);
        } else {
            step.command = line;
        }
        scenario.steps.push_back(step);
    }
    std::stable_sort(scenario.steps.begin(), scenario.steps.end(),
                     [](const ScenarioStep& a, const ScenarioStep& b) { return a.atMs < b.atMs; });
    return scenario;
}

const char* defaultScenarioText() {
    return "position 600000 浦发银行 10000 10000 8.50 8.88\n"
           "close 600000 8.80\n"
           "position 000001 平安银行 5000 5000 11.20 10.35\n"
           "close 000001 10.50\n"
           "position 600519 贵州茅台 100 100 1650.00 1688.00\n"
           "close 600519 1700.00\n"
           "stock 601398 工商银行 5.20 5.18\n"
           "stock 000858 五粮液 142.50 140.00\n"
           "cash 500000\n";
}

}  // namespace halyard::simclient
