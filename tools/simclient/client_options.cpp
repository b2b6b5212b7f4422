#include "simclient/client_options.h"

#include <algorithm>

#include "simclient/command_text.h"

namespace halyard::simclient {
namespace {

std::vector<std::wstring> splitTitles(const std::wstring& text) {
    std::vector<std::wstring> titles;
    size_t start = 0;
    while (true) {
        const size_t comma = text.find(L',', start);
        titles.push_back(
            text.substr(start, comma == std::wstring::npos ? std::wstring::npos : comma - start));
        if (comma == std::wstring::npos) break;
        start = comma + 1;
    }
    return titles;
}

bool parseCellCounts(const std::wstring& text, std::vector<int>& counts) {
    for (const std::wstring& word : splitTitles(text)) {
        int64_t count = 0;
        if (!parseWholeInteger(word, count) || count < 1 || count > 1000000) return false;
        counts.push_back(static_cast<int>(count));
    }
    return true;
}

}  // namespace

const std::vector<std::wstring>& defaultPositionsColumns() {
    static const std::vector<std::wstring> titles{L"证券代码",    L"证券名称", L"证券数量",  L"可卖数量",
                                                  L"成本价",      L"当前价",   L"最新市值",  L"浮动盈亏",
                                                  L"盈亏比例(%)", L"股东代码", L"交易所名称"};
    return titles;
}

const std::vector<std::wstring>& defaultOrdersColumns() {
    static const std::vector<std::wstring> titles{L"证券代码", L"证券名称", L"买卖标志", L"委托价格",
                                                  L"委托数量", L"成交数量", L"委托时间", L"合同编号"};
    return titles;
}

const std::vector<std::wstring>& defaultGridPositionsColumns() {
    static const std::vector<std::wstring> titles{L"证券代码",    L"证券名称", L"股票余额", L"可用余额",
                                                  L"冻结数量",    L"成本价",   L"市价",     L"盈亏",
                                                  L"盈亏比例(%)", L"市值"};
    return titles;
}

const std::vector<std::wstring>& defaultGridOrdersColumns() {
    static const std::vector<std::wstring> titles{L"委托时间", L"证券代码", L"证券名称", L"操作", L"委托数量",
                                                  L"成交数量", L"委托价格", L"合同编号", L"备注"};
    return titles;
}

const std::vector<std::wstring>& gridTradesColumns() {
    static const std::vector<std::wstring> titles{L"成交时间", L"证券代码", L"证券名称", L"操作",
                                                  L"成交数量", L"成交均价", L"成交金额", L"合同编号"};
    return titles;
}

const std::vector<std::wstring>& knownVariants() {
    static const std::vector<std::wstring> names{
        L"no-toolbar",     L"toolbar-at-top",         L"no-buy-page",      L"no-sell-page",
        L"no-orders-page", L"positions-extra-column", L"buy-3-edits",      L"sell-3-edits",
        L"buy-1-button",   L"sell-1-button",          L"buy-9-statics",    L"sell-7-statics",
        L"modal-popups",   L"thousands-separators",   L"cancel-all-first", L"typed-edits"};
    return names;
}

bool parseClientOptions(const std::vector<std::wstring>& args, ClientOptions& o, std::wstring& error) {
    bool titleGiven = false;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::wstring& a = args[i];
        if (a == L"--send") {
            o.sendMode = true;
            o.sendWords.assign(args.begin() + static_cast<long>(i) + 1, args.end());
            if (o.sendWords.empty()) {
                error = L"--send needs a command";
                return false;
            }
            return true;
        }
        if (i + 1 >= args.size()) {
            error = L"unknown option or missing value: " + a;
            return false;
        }
        const std::wstring& v = args[++i];
        if (a == L"--family") {
            if (v != L"list" && v != L"grid") {
                error = L"--family takes list or grid";
                return false;
            }
            o.family = v == L"grid" ? Family::Grid : Family::ListView;
        } else if (a == L"--captcha-first" || a == L"--captcha-every") {
            int64_t copies = 0;
            if (!parseWholeInteger(v, copies) || copies < 0 || copies > 1000000) {
                error = a + L" takes a number of copies (0: never)";
                return false;
            }
            (a == L"--captcha-first" ? o.captchaFirst : o.captchaEvery) = static_cast<int>(copies);
        } else if (a == L"--title") {
            o.title = v;
            titleGiven = true;
        } else if (a == L"--journal") {
            o.journalPath = v;
        } else if (a == L"--scenario") {
            o.scenarioPath = v;
        } else if (a == L"--instance") {
            o.instanceTitle = v;
        } else if (a == L"--price-delay") {
            int64_t ms = 0;
            if (v == L"never") {
                o.priceDelayMs.reset();
            } else if (parseWholeInteger(v, ms) && ms >= 0 && ms <= 600000) {
                o.priceDelayMs = static_cast<int>(ms);
            } else {
                error = L"--price-delay takes milliseconds or never";
                return false;
            }
        } else if (a == L"--toolbar-offset") {
            int64_t px = 0;
            if (!parseWholeInteger(v, px) || px < 0 || px > 2000) {
                error = L"--toolbar-offset takes pixels (0 to 2000)";
                return false;
            }
            o.toolbarOffset = static_cast<int>(px);
        } else if (a == L"--button-width" || a == L"--button-pitch") {
            // Narrow buttons put the pages within the first few positions of a detection sweep.
            int64_t px = 0;
            if (!parseWholeInteger(v, px) || px < 1 || px > 200) {
                error = a + L" takes pixels (1 to 200)";
                return false;
            }
            (a == L"--button-width" ? o.buttonWidth : o.buttonPitch) = static_cast<int>(px);
        } else if (a == L"--resort-after-cells" || a == L"--late-cells") {
            if (!parseCellCounts(v, a == L"--late-cells" ? o.lateCells : o.resortAfterCells)) {
                error = a + L" takes cell counts, separated by commas";
                return false;
            }
        } else if (a == L"--positions-columns") {
            o.positionsColumns = splitTitles(v);
        } else if (a == L"--orders-columns") {
            o.ordersColumns = splitTitles(v);
        } else if (a == L"--variant") {
            const auto& known = knownVariants();
            if (std::find(known.begin(), known.end(), v) == known.end()) {
                error = L"unknown variant: " + v;
                return false;
            }
            o.variants.insert(v);
        } else {
            error = L"unknown option: " + a;
            return false;
        }
    }
    const bool grid = o.family == Family::Grid;
    if (grid && !titleGiven) o.title = L"网上股票交易系统5.0";
    if (o.positionsColumns.empty())
        o.positionsColumns = grid ? defaultGridPositionsColumns() : defaultPositionsColumns();
    if (o.hasVariant(L"positions-extra-column")) o.positionsColumns.push_back(L"冻结数量");
    if (o.ordersColumns.empty()) o.ordersColumns = grid ? defaultGridOrdersColumns() : defaultOrdersColumns();
    return true;
}

}  // namespace halyard::simclient
