#pragma once
// Report list whose cells are edited in place: an editor window the owner supplies (an edit box
// or a combo box) is moved over the cell and its text written back when the edit ends. Editors,
// callbacks and a read-only flag can be set for the whole grid, per column, per row and per
// cell; the most specific editor wins and read-only at any level blocks editing. Columns sort on
// a header click; cells take colours from their cell, row or column.
#include <windows.h>

#include <commctrl.h>

#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "framework/list_ctrl.h"
#include "widgets/msg_hook.h"

class CListCtrlEx;

// How an edit ends: EndEdit's and the end callback's flag, and the end callback's answer, where
// any value but these three also stores the text.
enum EditEnd : int { kDiscardEdit = 0, kStoreEdit = 1, kStoreEditAndSort = -1 };

// Both get the editor field of the settings in use (a callback may replace the window), the cell,
// its text (begin: the cell's; end: the text to store), the row's userData and a flag: begin
// kStoreEdit; end kStoreEdit or kDiscardEdit. An end callback answers an EditEnd.
using BeginEditCallback = int (*)(halyard::Window** editor, int row, int column, std::wstring* text,
                                  DWORD_PTR userData, CListCtrlEx* list, int flag);
using EndEditCallback = BeginEditCallback;
using CompareCallback = int (*)(DWORD_PTR userData1, DWORD_PTR userData2, LPARAM data);

struct EditorSettings {
    BeginEditCallback beginEdit = nullptr;
    EndEditCallback endEdit = nullptr;
    halyard::Window* editor = nullptr;  // not owned
    BOOL readOnly = FALSE;

    bool hasEditor() const { return beginEdit || editor; }
};

constexpr COLORREF kColourNotSet = static_cast<COLORREF>(-1);

struct ColumnInfo : EditorSettings {
    int column = 0;
    COLORREF backColor = kColourNotSet;
    COLORREF textColor = kColourNotSet;
    int sortFlags = 0;  // kSortAscending, kSortDescending, kSortToggles; 0: not sortable
    int sortType = 0;   // compareCellTexts
    CompareCallback compare = nullptr;
};

class CListCtrlEx : public halyard::ListCtrl, public PreTranslator {
public:
    struct CellInfo : EditorSettings {
        int column = 0;
        COLORREF backColor = kColourNotSet;
        COLORREF textColor = kColourNotSet;
    };

    struct ItemData {
        virtual ~ItemData() = default;
        EditorSettings rowSettings;
        std::vector<std::unique_ptr<CellInfo>> cells;
        COLORREF backColor = kColourNotSet;
        COLORREF textColor = kColourNotSet;
        DWORD_PTR userData = 0;

        CellInfo* findCell(int column) const;
    };

    CListCtrlEx() = default;
    ~CListCtrlEx() override;

    void EnsureItemData(int row);
    // Before the row itself is deleted. 1 also for a row without a record, 0 out of range.
    int DeleteItemData(int row);
    void SetColumnEditor(int column, BeginEditCallback beginEdit, EndEditCallback endEdit,
                         halyard::Window* editor);
    void SetColumnReadOnly(int column);
    int GetColumnCount() const { return columnCount(); }
    // Rows, row records and columns go; the column settings stay for the next columns.
    BOOL DeleteAllItemsAndColumns();
    BOOL BeginEdit(int row, int column);
    void EndEdit(int store);
    // Asked for a new row by the Tab navigation; TRUE when one was added.
    virtual BOOL OnAppendRow() { return FALSE; }
    void SortByColumn(int column, BOOL toggle);

    int insertItem(int row, const std::wstring& text);
    std::wstring GetItemText(int row, int column) const;
    void SetItemText(int row, int column, const std::wstring& text);
    ItemData* rowRecord(int row) const;
    ColumnInfo* findColumnInfo(int column) const;
    ColumnInfo* columnInfo(int column);  // found or created

    bool preTranslateMessage(MSG& message) override;
    bool reflectNotify(NMHDR& header, LRESULT& result) override;
    COLORREF cellBackground(int row, int column) override;
    COLORREF cellTextColour(int row, int column) override;

    std::recursive_mutex lock;
    std::vector<std::unique_ptr<ItemData>> rowRecords;
    std::vector<std::unique_ptr<ColumnInfo>> columnInfos;
    EditorSettings* activeSettings = nullptr;
    EditorSettings defaultSettings;
    int editRow = -1, editColumn = -1;
    int navRow = -1, navColumn = -1;
    COLORREF defaultBackColor = kColourNotSet, defaultTextColor = kColourNotSet;
    CMsgHook hook;
    BOOL deleteKeyEnabled = FALSE;
    int sortColumn = -1;
    CompareCallback userCompare = nullptr;
    LPARAM userCompareData = 0;
    BOOL appendOnTab = FALSE;
    HACCEL accelerators = nullptr;

protected:
    void onAttached() override;
    LRESULT windowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    struct SortKey {
        std::wstring text;
        DWORD_PTR userData = 0;
    };
    struct Colours {
        COLORREF back;
        COLORREF text;
    };

    int rowCount() const { return itemCount(); }
    bool validRow(int row) const { return row >= 0 && row < rowCount(); }
    int rowOfRecord(const ItemData* record) const;
    bool isReadOnly(int row, int column) const;
    EditorSettings* governingSettings(int row, int column);
    RECT showCell(int row, int column);
    bool handleTab(const MSG& message);
    void deleteSelectedRows();
    Colours cellColours(int row, int column) const;
    void setSortArrow(int column, int arrow);
    static int CALLBACK compareRows(LPARAM first, LPARAM second, LPARAM self);

    std::map<LPARAM, SortKey> sortKeys_;  // the sort column's texts while a sort runs
};
