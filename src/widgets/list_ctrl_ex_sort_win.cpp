// Sorting the grid by a column: the header's arrows, and the compare of two rows by the texts
// of the sort column as they stood when the sort began.
#include <windows.h>

#include <oleauto.h>

#include "widgets/list_ctrl_ex.h"
#include "widgets/list_ctrl_ex_sort.h"

namespace {

bool parseOleDate(const std::wstring& text, double& days) {
    DATE date = 0;
    if (FAILED(VarDateFromStr(const_cast<OLECHAR*>(text.c_str()), LOCALE_USER_DEFAULT, 0, &date)))
        return false;
    days = date;
    return true;
}

}  // namespace

void CListCtrlEx::setSortArrow(int column, int arrow) {
    HWND header = reinterpret_cast<HWND>(send(LVM_GETHEADER));
    if (!header || column < 0) return;
    HDITEMW item{};
    item.mask = HDI_FORMAT;
    if (!SendMessageW(header, HDM_GETITEMW, static_cast<WPARAM>(column), reinterpret_cast<LPARAM>(&item)))
        return;
    item.fmt = (item.fmt & ~(HDF_SORTUP | HDF_SORTDOWN)) | arrow;
    SendMessageW(header, HDM_SETITEMW, static_cast<WPARAM>(column), reinterpret_cast<LPARAM>(&item));
}

void CListCtrlEx::SortByColumn(int column, BOOL toggle) {
    ColumnInfo* info = findColumnInfo(column);
    if (!info || (info->sortFlags & 7) == 0) return;
    info->sortFlags = nextSortFlags(info->sortFlags, toggle != FALSE);
    setSortArrow(sortColumn, 0);
    sortColumn = column;

    // The list must not be asked anything while it sorts: the texts are read beforehand.
    sortKeys_.clear();
    for (int row = 0; row < rowCount(); ++row) {
        if (const ItemData* record = rowRecord(row))
            sortKeys_[reinterpret_cast<LPARAM>(record)] = {GetItemText(row, column), record->userData};
    }
    send(LVM_SORTITEMS, reinterpret_cast<WPARAM>(this), reinterpret_cast<LPARAM>(compareRows));
    sortKeys_.clear();
    setSortArrow(column, (info->sortFlags & kSortAscending) ? HDF_SORTUP : HDF_SORTDOWN);
}

int CALLBACK CListCtrlEx::compareRows(LPARAM first, LPARAM second, LPARAM self) {
    auto* grid = reinterpret_cast<CListCtrlEx*>(self);
    ColumnInfo* info = grid->findColumnInfo(grid->sortColumn);
    const int direction = info ? sortDirection(info->sortFlags) : 0;
    if (direction == 0) return 0;
    if (!grid->userCompare && info->compare) grid->userCompare = info->compare;
    auto key1 = grid->sortKeys_.find(first), key2 = grid->sortKeys_.find(second);
    const auto& keys = grid->sortKeys_;
    if (grid->userCompare) {
        const DWORD_PTR data1 = key1 != keys.end() ? key1->second.userData : 0;
        const DWORD_PTR data2 = key2 != keys.end() ? key2->second.userData : 0;
        const LPARAM data = grid->userCompareData ? grid->userCompareData : grid->sortColumn;
        return grid->userCompare(data1, data2, data) * direction;
    }
    if (key1 == keys.end() || key2 == keys.end()) return 0;
    return compareCellTexts(info->sortType, key1->second.text, key2->second.text, parseOleDate) * direction;
}
