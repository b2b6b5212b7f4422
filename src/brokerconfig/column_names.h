#pragma once
// The system's own names for the values it reads from the client's positions and orders lists,
// and the mapping from a client's column titles to them.
#include <string>
#include <vector>

using StringList = std::vector<std::wstring>;

StringList ownPositionColumnNames();
StringList ownCommitColumnNames();

// Entry i is the own name for titles[i], or "" when the title is not a known one.
StringList mapPositionTitles(const StringList& titles);
StringList mapCommitTitles(const StringList& titles);

// The grid family's own names: those of the list-view family, and for the positions also
// "冻结数量", for the orders "委托时间", "股票", "成交数量", "委托价格", "合同编号" and "备注".
StringList ownGridPositionColumnNames();
StringList ownGridOrderColumnNames();
// As above with the grid family's titles (市价, 可用余额, 操作, ...); the list-view family's
// titles are known here too, since brokers mix them.
StringList mapGridPositionTitles(const StringList& titles);
StringList mapGridOrderTitles(const StringList& titles);

// Index of the first entry equal to `ownName` (exact code units), or -1.
int indexOfOwnName(const StringList& ownNames, const std::wstring& ownName);
