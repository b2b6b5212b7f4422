#pragma once
// Scenario files: UTF-8 text, one control command per line, '#' starts a comment line,
// "at MS COMMAND" runs COMMAND MS milliseconds after start.
#include <string>
#include <vector>

namespace halyard::simclient {

struct ScenarioStep {
    long long atMs = 0;  // 0 for the lines without "at": they run at start, in file order
    std::wstring command;
    int line = 0;
};

struct Scenario {
    std::vector<ScenarioStep> steps;  // sorted by atMs, file order kept among equal times
    std::vector<int> badLines;        // "at" lines without a valid time or command
};

Scenario parseScenario(const std::string& utf8);

// The portfolio the client starts with when no scenario is given.
const char* defaultScenarioText();

}  // namespace halyard::simclient
