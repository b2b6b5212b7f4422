#include "broker/steady_rows.h"

#include <algorithm>

namespace {

struct RowRead {
    RowTexts texts;
    std::wstring codeBefore;
    bool steady() const { return codeBefore == texts.back(); }
};

// The rows read in full, in the order asked for; fewer when the budget ran out.
std::optional<std::vector<RowRead>> readRows(RemoteList& remote, const std::vector<int>& rows,
                                             const std::vector<int>& columns, const ReadBudget& budget) {
    const size_t perRow = columns.size() + 1;
    std::vector<ListCell> cells;
    cells.reserve(rows.size() * perRow);
    for (int row : rows) {
        cells.push_back({row, columns.back()});
        for (int column : columns) cells.push_back({row, column});
    }
    std::optional<std::vector<std::wstring>> texts = remote.cellTexts(cells, budget);
    if (!texts) return std::nullopt;
    std::vector<RowRead> read(texts->size() / perRow);
    for (size_t i = 0; i < read.size(); ++i) {
        auto cell = texts->begin() + static_cast<std::ptrdiff_t>(i * perRow);
        read[i].codeBefore = std::move(*cell);
        read[i].texts.assign(std::make_move_iterator(cell + 1),
                             std::make_move_iterator(cell + static_cast<std::ptrdiff_t>(perRow)));
    }
    return read;
}

void addCode(std::vector<std::wstring>& codes, const std::wstring& code) {
    if (std::find(codes.begin(), codes.end(), code) == codes.end()) codes.push_back(code);
}

// Reads the unsteady rows once more; those still unsteady (or not reached) are left out.
std::optional<SteadyRows> settle(RemoteList& remote, std::vector<RowRead> read,
                                 const std::vector<int>& columns, const ReadBudget& budget) {
    std::vector<int> unsteady;
    for (size_t i = 0; i < read.size(); ++i)
        if (!read[i].steady()) unsteady.push_back(static_cast<int>(i));
    std::vector<RowRead> again;
    if (!unsteady.empty()) {
        std::optional<std::vector<RowRead>> reread = readRows(remote, unsteady, columns, budget);
        if (!reread) return std::nullopt;
        again = std::move(*reread);
    }
    SteadyRows steady;
    size_t next = 0;
    for (size_t i = 0; i < read.size(); ++i) {
        if (read[i].steady()) {
            steady.rows.push_back(std::move(read[i].texts));
            continue;
        }
        const size_t k = next++;
        if (k < again.size() && again[k].steady()) {
            steady.rows.push_back(std::move(again[k].texts));
            continue;
        }
        addCode(steady.unsteadyCodes, read[i].codeBefore);
        addCode(steady.unsteadyCodes, read[i].texts.back());
        if (k < again.size()) {
            addCode(steady.unsteadyCodes, again[k].codeBefore);
            addCode(steady.unsteadyCodes, again[k].texts.back());
        }
    }
    return steady;
}

}  // namespace

std::optional<SteadyRows> readSteadyRows(RemoteList& remote, const std::vector<int>& columns, int maxRows,
                                         DWORD budgetMs) {
    if (columns.empty()) return std::nullopt;
    const ReadBudget budget{GetTickCount(), budgetMs};
    for (int attempt = 0; attempt < 2; ++attempt) {
        std::optional<int> before = remote.itemCount();
        if (!before) return std::nullopt;
        std::vector<int> rows(static_cast<size_t>(std::min(*before, maxRows)));
        for (size_t i = 0; i < rows.size(); ++i) rows[i] = static_cast<int>(i);
        std::optional<std::vector<RowRead>> read = readRows(remote, rows, columns, budget);
        if (!read) return std::nullopt;
        const bool cut = static_cast<int>(read->size()) < *before;
        std::optional<SteadyRows> steady = settle(remote, std::move(*read), columns, budget);
        std::optional<int> after = remote.itemCount();
        if (!steady || !after) return std::nullopt;
        if (*after == *before) {
            steady->cut = cut;
            return steady;
        }
        // Rows came or went during the read: no time is left for a second one.
        if (budget.spent()) break;
    }
    return std::nullopt;
}
