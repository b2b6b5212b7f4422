#pragma once
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "brokerconfig/button_position.h"
#include "brokerconfig/column_names.h"
#include "brokerconfig/grid_layout.h"

// Everything known about one broker client: its title, its family, toolbar points (list-view
// family) or tree paths and control ids (grid family), and column maps.
class BrokerConfig {
public:
    BrokerConfig(std::wstring name, std::wstring windowName);

    // A new configuration with copies of every field.
    std::unique_ptr<BrokerConfig> clone() const;

    std::wstring name;
    std::wstring windowName;
    ClientFamily family = ClientFamily::ListView;
    GridLayout grid;  // the grid family's; ignored for a list-view client

    std::vector<ButtonPosition> buttonPositionsCopy() const { return buttonPositions; }
    StringList positionColumnTitlesCopy() const { return positionColumnTitles; }
    StringList positionColumnOwnNamesCopy() const { return positionColumnOwnNames; }
    StringList commitColumnTitlesCopy() const { return commitColumnTitles; }
    StringList commitColumnOwnNamesCopy() const { return commitColumnOwnNames; }

    void setButtonPositions(std::vector<ButtonPosition> positions);
    // Titles and own names change together; the own names are padded with "" or cut to the
    // number of titles.
    void setPositionColumns(StringList titles, StringList ownNames);
    void setCommitColumns(StringList titles, StringList ownNames);

    // Empty when the configuration holds no entry for the slot: the click is skipped.
    std::optional<ButtonPosition> buttonPosition(ButtonSlot slot) const;
    // Index of the first own name equal to `ownName`, or -1.
    int positionColumnIndex(const std::wstring& ownName) const;
    int commitColumnIndex(const std::wstring& ownName) const;

    const std::vector<ButtonPosition>& buttonPositionList() const { return buttonPositions; }
    const StringList& positionTitles() const { return positionColumnTitles; }
    const StringList& positionOwnNames() const { return positionColumnOwnNames; }
    const StringList& commitTitles() const { return commitColumnTitles; }
    const StringList& commitOwnNames() const { return commitColumnOwnNames; }

private:
    std::vector<ButtonPosition> buttonPositions;
    StringList positionColumnTitles;
    StringList positionColumnOwnNames;
    StringList commitColumnTitles;
    StringList commitColumnOwnNames;
};
