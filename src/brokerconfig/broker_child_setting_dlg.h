#pragma once
// Editor of one list of a broker configuration in a grid (dialog 136): the five button
// positions, the positions list's column map or the orders list's. OK writes the grid
// back into the configuration when it differs; Cancel leaves the configuration alone.
#include <windows.h>

#include <string>

#include "framework/dialog.h"
#include "widgets/list_ctrl_ex.h"

class BrokerConfig;

class CBrokerChildSetting : public halyard::Dialog {
public:
    enum class Mode { ButtonPositions = 0, PositionColumns = 1, CommitColumns = 2 };

    explicit CBrokerChildSetting(HWND parent = nullptr);

    CListCtrlEx grid;
    halyard::Window ownNameCombo;
    halyard::Window textEditor;
    Mode editMode = Mode::ButtonPositions;
    BrokerConfig* editedConfig = nullptr;
    // After OK: something was written into editedConfig.
    bool changed = false;

    static int beginOwnNameEdit(halyard::Window** editor, int row, int column, std::wstring* text,
                                DWORD_PTR userData, CListCtrlEx* list, int flag);
    static int endOwnNameEdit(halyard::Window** editor, int row, int column, std::wstring* text,
                              DWORD_PTR userData, CListCtrlEx* list, int flag);

protected:
    void doDataExchange(halyard::DataExchange& exchange) override;
    bool onInitDialog() override;
    bool onCommand(int id, int code, HWND control) override;
    void onOK() override;

private:
    void OnBnClickedAddRow();
    void OnBnClickedDeleteRow();
    void insertColumns();
    void fillRows();
    void appendRow(const std::wstring& first, const std::wstring& second,
                   const std::wstring* third = nullptr);
    bool storeButtonPositions();
    bool storeColumnMap();
};
