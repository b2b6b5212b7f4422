#pragma once
// The broker settings dialog (template 134): pick the configuration the program works with, of
// either client family, correct its main-window title, open the editors of a list-view client's
// button positions and column maps, copy, rename or delete a configuration, start detection. It
// works on the store's configurations; when it closes after a change the store is saved at once,
// so a crash loses nothing.
#include <windows.h>

#include <set>
#include <string>

#include "brokerconfig/broker_child_setting_dlg.h"
#include "framework/dialog.h"
#include "framework/window.h"

class BrokerConfig;
class BrokerDetection;

// What the dialog needs of the main window around a detection: the executor's last error text
// after a failure, and after a success the flag and the list.
class BrokerSettingOwner {
public:
    virtual std::wstring brokerErrorText() = 0;
    virtual void clearNeverFoundValidBroker() = 0;
    virtual bool isInitializing() const = 0;
    virtual void refreshList() = 0;

protected:
    ~BrokerSettingOwner() = default;
};

class CBrokerSetting : public halyard::Dialog {
public:
    // `detection` (the executor) is handed on to the detection dialog; without it 检测券商 does
    // nothing.
    explicit CBrokerSetting(HWND parent = nullptr, BrokerDetection* detection = nullptr);

    std::wstring windowNameText;
    halyard::Window brokerCombo;
    BrokerConfig* selectedConfig = nullptr;
    // The executor is connected through the current configuration: detection asks before it
    // clicks through the client, and the current configuration cannot be deleted.
    bool clientConnected = false;
    BrokerSettingOwner* mainWindow = nullptr;

    // After the dialog has closed: the store changed (it has been saved), and the configuration
    // the executor works with changed in content or identity (the executor must connect again).
    bool storeChanged() const { return storeChanged_; }
    bool currentConfigChanged() const { return currentConfigChanged_; }

protected:
    void doDataExchange(halyard::DataExchange& exchange) override;
    bool onInitDialog() override;
    bool onCommand(int id, int code, HWND control) override;
    void onOK() override;
    void onDestroy() override;

private:
    void OnCbnSelchangeBroker();
    void OnBnClickedSetButtons() { openEditor(CBrokerChildSetting::Mode::ButtonPositions); }
    void OnBnClickedSetPositionColumns() { openEditor(CBrokerChildSetting::Mode::PositionColumns); }
    void OnBnClickedSetCommitColumns() { openEditor(CBrokerChildSetting::Mode::CommitColumns); }
    void OnBnClickedAdd();
    void OnBnClickedDetect();
    void OnBnClickedRename();
    void OnBnClickedDelete();
    void openEditor(CBrokerChildSetting::Mode mode);
    void showWindowName();
    // Fills the list from the store and selects its current configuration.
    void showStoreList();
    // Fills the list from the store, keeping the selection and the typed window name.
    void fillList();
    // The editors serve a list-view configuration only; rename and delete need a selection.
    void enableButtons();

    BrokerDetection* detection_;
    BrokerConfig* currentAtOpen_ = nullptr;
    std::set<const BrokerConfig*> edited_;  // configurations whose content changed
    bool storeChanged_ = false;
    bool currentConfigChanged_ = false;
    bool detected_ = false;
    bool currentDeleted_ = false;
};
