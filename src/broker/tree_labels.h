#pragma once
// The tree menu of a grid client: which page a label leads to, whatever hot key it carries
// ("买入[F1]", "卖出 F2", "撤单(F3)"), and where a learnt path is among the tree's items.
#include <array>
#include <optional>
#include <string>
#include <vector>

#include "brokerconfig/grid_layout.h"

// One item of the tree as a walk from the top meets it: depth 0 for the items at the root.
struct TreeItem {
    int depth = 0;
    std::wstring label;
};

// The label without hot keys in brackets, a trailing hot key and blanks ("查询[F4]" -> "查询").
std::wstring treeLabelWord(const std::wstring& label);
// 买入, 卖出, 撤单, 资金股票 and 当日委托 lead to pages; other labels (查询) to none.
std::optional<GridPage> pageOfTreeLabel(const std::wstring& label);

// The labels from the root down to items[index]. Depths that jump down by more than one are read
// as one level deeper, negative ones as the root.
TreePath treePathOf(const std::vector<TreeItem>& items, size_t index);
// The index of the first item whose path has the same words as `path`, or -1.
int findTreePath(const std::vector<TreeItem>& items, const TreePath& path);
// For each page the path of the shallowest item leading to it (the first of equal depth);
// empty for a page the tree does not show.
std::array<TreePath, kGridPageCount> learnPagePaths(const std::vector<TreeItem>& items);
