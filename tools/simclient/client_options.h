#pragma once
// The client's command line.
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace halyard::simclient {

// The list-view family (toolbar, list views) or the grid family (tree menu, drawn grids).
enum class Family { ListView, Grid };

struct ClientOptions {
    Family family = Family::ListView;
    std::wstring title = L"模拟证券交易系统";
    std::wstring journalPath;
    std::wstring scenarioPath;
    std::optional<int> priceDelayMs = 50;  // nullopt: the price is never filled in
    int toolbarOffset = 0;
    int buttonWidth = 60;
    int buttonPitch = 0;  // 0: buttons side by side, as wide as they are apart
    std::vector<std::wstring> positionsColumns;
    std::vector<std::wstring> ordersColumns;
    std::set<std::wstring> variants;
    // Cells of the positions list answered to other programs, counted from the start: after
    // each of these the list re-sorts itself (reverses its rows, as a click on a column header
    // does); each of the late ones is answered only after kLateCellMs.
    std::vector<int> resortAfterCells;
    std::vector<int> lateCells;
    static constexpr unsigned kLateCellMs = 6500;
    // Grid family: the copy of this process that first asks for a code, then every how many
    // copies after it (0: never).
    int captchaFirst = 4;
    int captchaEvery = 15;

    // --send: hand the command to a running instance instead of starting one.
    bool sendMode = false;
    std::vector<std::wstring> sendWords;
    std::wstring instanceTitle;

    bool hasVariant(const wchar_t* name) const { return variants.count(name) != 0; }
};

const std::vector<std::wstring>& defaultPositionsColumns();
const std::vector<std::wstring>& defaultOrdersColumns();
const std::vector<std::wstring>& defaultGridPositionsColumns();
const std::vector<std::wstring>& defaultGridOrdersColumns();
const std::vector<std::wstring>& gridTradesColumns();
const std::vector<std::wstring>& knownVariants();

// False with a message on an unknown option, a missing value or an unknown variant.
bool parseClientOptions(const std::vector<std::wstring>& args, ClientOptions& options, std::wstring& error);

}  // namespace halyard::simclient
