#include "brokerconfig/column_names.h"

#include <algorithm>
#include <iterator>

namespace {

struct TitleMapping {
    const wchar_t* clientTitle;
    const wchar_t* ownName;
};

// Titles as the common clients show them; first match wins.
constexpr TitleMapping kPositionTitles[] = {
    {L"证券代码", L"证券代码"}, {L"证券名称", L"股票"}, {L"证券数量", L"数量"},
    {L"可卖数量", L"可卖数量"}, {L"成本价", L"成本价"}, {L"当前价", L"当前价"},
    {L"最新市值", L"市值"},     {L"浮动盈亏", L"盈亏"}, {L"盈亏比例(%)", L"盈亏%"},
};

constexpr TitleMapping kCommitTitles[] = {
    {L"证券代码", L"证券代码"},
    {L"委托数量", L"委托数量"},
    {L"买卖标志", L"买卖标志"},
};

template <size_t N>
StringList mapTitles(const StringList& titles, const TitleMapping (&table)[N]) {
    StringList ownNames(titles.size());
    for (size_t i = 0; i < titles.size(); ++i) {
        const auto match = std::find_if(std::begin(table), std::end(table),
                                        [&](const TitleMapping& m) { return titles[i] == m.clientTitle; });
        if (match != std::end(table)) ownNames[i] = match->ownName;
    }
    return ownNames;
}

}  // namespace

StringList ownPositionColumnNames() {
    return {L"证券代码", L"股票", L"数量", L"可卖数量", L"成本价", L"市值", L"盈亏", L"盈亏%", L"当前价"};
}

StringList ownCommitColumnNames() {
    return {L"证券代码", L"委托数量", L"买卖标志"};
}

StringList mapPositionTitles(const StringList& titles) {
    return mapTitles(titles, kPositionTitles);
}

StringList mapCommitTitles(const StringList& titles) {
    return mapTitles(titles, kCommitTitles);
}

int indexOfOwnName(const StringList& ownNames, const std::wstring& ownName) {
    const auto found = std::find(ownNames.begin(), ownNames.end(), ownName);
    return found == ownNames.end() ? -1 : static_cast<int>(found - ownNames.begin());
}
