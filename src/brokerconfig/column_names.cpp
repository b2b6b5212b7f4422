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

// The grid family's titles, then the list-view family's.
constexpr TitleMapping kGridPositionTitles[] = {
    {L"证券代码", L"证券代码"}, {L"证券名称", L"股票"}, {L"股票余额", L"数量"}, {L"可用余额", L"可卖数量"},
    {L"冻结数量", L"冻结数量"}, {L"成本价", L"成本价"}, {L"市价", L"当前价"},   {L"盈亏", L"盈亏"},
    {L"盈亏比例(%)", L"盈亏%"}, {L"市值", L"市值"},     {L"证券数量", L"数量"}, {L"可卖数量", L"可卖数量"},
    {L"当前价", L"当前价"},     {L"最新市值", L"市值"}, {L"浮动盈亏", L"盈亏"},
};

constexpr TitleMapping kGridOrderTitles[] = {
    {L"委托时间", L"委托时间"}, {L"证券代码", L"证券代码"}, {L"证券名称", L"股票"},
    {L"操作", L"买卖标志"},     {L"买卖标志", L"买卖标志"}, {L"委托数量", L"委托数量"},
    {L"成交数量", L"成交数量"}, {L"委托价格", L"委托价格"}, {L"合同编号", L"合同编号"},
    {L"备注", L"备注"},
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

StringList ownGridPositionColumnNames() {
    StringList names = ownPositionColumnNames();
    names.push_back(L"冻结数量");
    return names;
}

StringList ownGridOrderColumnNames() {
    return {L"委托时间", L"证券代码", L"股票",     L"买卖标志", L"委托数量",
            L"成交数量", L"委托价格", L"合同编号", L"备注"};
}

StringList mapGridPositionTitles(const StringList& titles) {
    return mapTitles(titles, kGridPositionTitles);
}

StringList mapGridOrderTitles(const StringList& titles) {
    return mapTitles(titles, kGridOrderTitles);
}

int indexOfOwnName(const StringList& ownNames, const std::wstring& ownName) {
    const auto found = std::find(ownNames.begin(), ownNames.end(), ownName);
    return found == ownNames.end() ? -1 : static_cast<int>(found - ownNames.begin());
}
