#include "simclient/client_app.h"

#include <algorithm>

#include "common/file_store.h"
#include "simclient/command_text.h"
#include "simclient/market_commands.h"

namespace halyard::simclient {

void ClientApp::startScenario() {
    if (options_.scenarioPath.empty()) {
        const Scenario defaults = parseScenario(defaultScenarioText());
        for (const auto& step : defaults.steps) runMarketCommand(market_, splitCommand(step.command), now());
        return;
    }
    std::string bytes;
    if (!readWholeFile(options_.scenarioPath, bytes)) {
        journal(JournalLine("scenario_error").text("path", options_.scenarioPath).number("line", 0));
        return;
    }
    scenario_ = parseScenario(bytes);
    for (int line : scenario_.badLines)
        journal(JournalLine("scenario_error").text("path", options_.scenarioPath).number("line", line));
    runDueSteps();
}

void ClientApp::runDueSteps() {
    while (nextStep_ < scenario_.steps.size() && scenario_.steps[nextStep_].atMs <= journal_.elapsedMs()) {
        const ScenarioStep step = scenario_.steps[nextStep_++];
        const CommandReply reply = runCommand(step.command);
        if (!reply.ok)
            journal(JournalLine("scenario_error")
                        .text("path", options_.scenarioPath)
                        .number("line", step.line)
                        .text("reply", reply.text));
    }
    scheduleNextStep();
}

void ClientApp::scheduleNextStep() {
    if (nextStep_ >= scenario_.steps.size() || !main_) return;
    const long long wait = std::max(0LL, scenario_.steps[nextStep_].atMs - journal_.elapsedMs());
    SetTimer(main_, kScenarioTimer, static_cast<UINT>(std::min(wait, 0x7FFFFFFFLL)), nullptr);
}

}  // namespace halyard::simclient
