#pragma once
// A row of the client's positions list from the texts of its cells, with the number cells that
// could not be read marked, so that nothing acts on a 0 that only stands for "unreadable".
#include <array>
#include <string>

#include "broker/position_row.h"

// The cells of one positions row, in the order the list reader asks for them.
enum PositionCellIndex {
    kNameText,
    kQuantityText,
    kSellableText,
    kCostPriceText,
    kProfitText,
    kProfitPercentText,
    kMarketValueText,
    kCurrentPriceText,
    kCodeText,
    kPositionCellCount
};

using PositionCellTexts = std::array<std::wstring, kPositionCellCount>;

// `configured` says which cells the configuration maps to a column of the list; a cell it does
// not map is empty and not marked. A negative quantity is unreadable too.
PositionRow positionRowFromCells(const PositionCellTexts& cells,
                                 const std::array<bool, kPositionCellCount>& configured);

// The names of the marked cells as the list's header shows them ("可卖数量, 当前价").
std::wstring unreadableCellNames(uint16_t cells);
