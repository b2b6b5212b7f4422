#include "brokerconfig/broker_config.h"

#include <utility>

#include "brokerconfig/column_names.h"

namespace {

// Keeps the two lists of a column map the same length: own names follow the titles.
void assignColumns(StringList& titles, StringList& ownNames, StringList newTitles, StringList newOwnNames) {
    newOwnNames.resize(newTitles.size());
    titles = std::move(newTitles);
    ownNames = std::move(newOwnNames);
}

}  // namespace

BrokerConfig::BrokerConfig(std::wstring brokerName, std::wstring mainWindowTitle)
    : name(std::move(brokerName)), windowName(std::move(mainWindowTitle)) {}

std::unique_ptr<BrokerConfig> BrokerConfig::clone() const {
    return std::make_unique<BrokerConfig>(*this);
}

void BrokerConfig::setButtonPositions(std::vector<ButtonPosition> positions) {
    buttonPositions = std::move(positions);
}

void BrokerConfig::setPositionColumns(StringList titles, StringList ownNames) {
    assignColumns(positionColumnTitles, positionColumnOwnNames, std::move(titles), std::move(ownNames));
}

void BrokerConfig::setCommitColumns(StringList titles, StringList ownNames) {
    assignColumns(commitColumnTitles, commitColumnOwnNames, std::move(titles), std::move(ownNames));
}

std::optional<ButtonPosition> BrokerConfig::buttonPosition(ButtonSlot slot) const {
    const auto index = static_cast<int>(slot);
    if (index < 0 || static_cast<size_t>(index) >= buttonPositions.size()) return std::nullopt;
    return buttonPositions[static_cast<size_t>(index)];
}

int BrokerConfig::positionColumnIndex(const std::wstring& ownName) const {
    return indexOfOwnName(positionColumnOwnNames, ownName);
}

int BrokerConfig::commitColumnIndex(const std::wstring& ownName) const {
    return indexOfOwnName(commitColumnOwnNames, ownName);
}
