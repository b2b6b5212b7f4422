#include "broker/tree_labels.h"

#include <algorithm>

namespace {

bool isLabelBlank(wchar_t c) {
    return c == L' ' || c == L'\t' || c == 0x00A0 || c == 0x3000;
}

bool isHotKeyChar(wchar_t c) {
    return (c >= L'0' && c <= L'9') || (c >= L'A' && c <= L'Z') || (c >= L'a' && c <= L'z') || c == L'&' ||
           c == L'+' || isLabelBlank(c);
}

wchar_t closingOf(wchar_t open) {
    switch (open) {
        case L'[':
            return L']';
        case L'(':
            return L')';
        case 0xFF08:
            return 0xFF09;  // full-width parentheses
        case 0x3010:
            return 0x3011;  // 【 】
        default:
            return 0;
    }
}

// Brackets holding nothing but a hot key ("[F1]", "(&B)") go; brackets with words stay.
std::wstring withoutBracketedKeys(const std::wstring& label) {
    std::wstring text;
    for (size_t i = 0; i < label.size(); ++i) {
        const wchar_t close = closingOf(label[i]);
        const size_t end = close ? label.find(close, i + 1) : std::wstring::npos;
        if (end != std::wstring::npos &&
            std::all_of(label.begin() + i + 1, label.begin() + end, isHotKeyChar)) {
            i = end;
            continue;
        }
        text.push_back(label[i]);
    }
    return text;
}

std::wstring trimmed(const std::wstring& text) {
    size_t begin = 0, end = text.size();
    while (begin < end && isLabelBlank(text[begin])) ++begin;
    while (end > begin && isLabelBlank(text[end - 1])) --end;
    return text.substr(begin, end - begin);
}

// "卖出 F2": a function key after the words.
std::wstring withoutTrailingFunctionKey(const std::wstring& text) {
    size_t digits = text.size();
    while (digits > 0 && text[digits - 1] >= L'0' && text[digits - 1] <= L'9') --digits;
    if (digits == text.size() || text.size() - digits > 2 || digits == 0) return text;
    if (text[digits - 1] != L'F' && text[digits - 1] != L'f') return text;
    return text.substr(0, digits - 1);
}

struct PageWord {
    const wchar_t* word;
    GridPage page;
};

constexpr PageWord kPageWords[] = {{L"买入", GridPage::Buy},
                                   {L"卖出", GridPage::Sell},
                                   {L"撤单", GridPage::Cancel},
                                   {L"资金股票", GridPage::Positions},
                                   {L"当日委托", GridPage::Orders}};

// Calls visit(index, labels from the root) for each item in order, while it returns true.
template <typename Visit>
void walkPaths(const std::vector<TreeItem>& items, Visit visit) {
    TreePath path;
    for (size_t i = 0; i < items.size(); ++i) {
        path.resize(std::min(static_cast<size_t>(std::max(items[i].depth, 0)), path.size()));
        path.push_back(items[i].label);
        if (!visit(i, path)) return;
    }
}

}  // namespace

std::wstring treeLabelWord(const std::wstring& label) {
    return trimmed(withoutTrailingFunctionKey(trimmed(withoutBracketedKeys(label))));
}

std::optional<GridPage> pageOfTreeLabel(const std::wstring& label) {
    const std::wstring word = treeLabelWord(label);
    for (const PageWord& entry : kPageWords)
        if (word == entry.word) return entry.page;
    return std::nullopt;
}

TreePath treePathOf(const std::vector<TreeItem>& items, size_t index) {
    TreePath found;
    walkPaths(items, [&](size_t i, const TreePath& path) {
        if (i == index) found = path;
        return i < index;
    });
    return found;
}

int findTreePath(const std::vector<TreeItem>& items, const TreePath& path) {
    if (path.empty()) return -1;
    TreePath words;
    for (const std::wstring& label : path) words.push_back(treeLabelWord(label));
    auto sameWords = [](const std::wstring& label, const std::wstring& word) {
        return treeLabelWord(label) == word;
    };
    int found = -1;
    walkPaths(items, [&](size_t i, const TreePath& itemPath) {
        if (itemPath.size() == words.size() &&
            std::equal(itemPath.begin(), itemPath.end(), words.begin(), sameWords))
            found = static_cast<int>(i);
        return found < 0;
    });
    return found;
}

std::array<TreePath, kGridPageCount> learnPagePaths(const std::vector<TreeItem>& items) {
    std::array<TreePath, kGridPageCount> paths;
    for (size_t i = 0; i < items.size(); ++i) {
        const std::optional<GridPage> page = pageOfTreeLabel(items[i].label);
        if (!page) continue;
        TreePath& known = paths[static_cast<size_t>(*page)];
        TreePath path = treePathOf(items, i);  // trees are short: a walk per page item
        if (known.empty() || path.size() < known.size()) known = std::move(path);
    }
    return paths;
}
