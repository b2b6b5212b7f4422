#include "brokerconfig/broker_setting_dlg.h"

#include <memory>

#include "brokerconfig/add_broker_config_dlg.h"
#include "brokerconfig/auto_check_broker_dlg.h"
#include "brokerconfig/broker_child_setting_dlg.h"
#include "brokerconfig/broker_config_store.h"
#include "brokerconfig/broker_setting_fields.h"
#include "brokerconfig/rename_broker_dlg.h"
#include "framework/message_box.h"
#include "res/resource.h"

namespace {

const wchar_t kDetectionFailed[] =
    L"无法自动检测到券商软件\n请确保360等安全软件没有运行网购模式\n1.你可以重新启动助手试试.\n"
    L"2.如果重启助手也没用,可以手工配置券商.?\n错误信息:";
const wchar_t kNoWindowName[] = L"必须输入券商窗口名称";
const wchar_t kSaveCurrent[] = L"你已经更改当前券商配置，是否保存?";
const wchar_t kDetectWhileConnected[] = L"券商软件已经连接。检测券商会自动点击券商软件的各个页面，是否继续?";
const wchar_t kDeleteInUse[] = L"券商软件正通过这个配置连接，不能删除正在使用的券商配置";
const wchar_t kDeleteLast[] = L"至少要保留一个券商配置";

}  // namespace

CBrokerSetting::CBrokerSetting(HWND parent, BrokerDetection* detection)
    : halyard::Dialog(IDD_BROKER_SETTING, parent), detection_(detection) {}

void CBrokerSetting::doDataExchange(halyard::DataExchange& exchange) {
    brokerCombo.attach(exchange.dialog(), IDC_BROKER_SELECT);
    exchange.text(IDC_WINDOW_NAME, windowNameText);
}

bool CBrokerSetting::onInitDialog() {
    halyard::Dialog::onInitDialog();
    BrokerConfigStore* store = BrokerConfigStore::instance();
    currentAtOpen_ = store->current;
    showStoreList();
    return true;
}

void CBrokerSetting::showStoreList() {
    selectedConfig = BrokerConfigStore::instance()->current;
    windowNameText = selectedConfig ? selectedConfig->windowName : std::wstring();
    fillList();
    showWindowName();
}

void CBrokerSetting::fillList() {
    brokerCombo.send(CB_RESETCONTENT);
    int index = 0;
    for (BrokerConfig* config : BrokerConfigStore::instance()->brokers()) {
        const std::wstring label = brokerListLabel(*config);
        brokerCombo.send(CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(label.c_str()));
        if (config == selectedConfig) brokerCombo.send(CB_SETCURSEL, static_cast<WPARAM>(index));
        ++index;
    }
    enableButtons();
}

void CBrokerSetting::enableButtons() {
    // A grid client's pages, controls and columns are learnt by detection, not placed by hand.
    const bool listView = !selectedConfig || selectedConfig->family == ClientFamily::ListView;
    for (int id : {IDC_SET_BUTTONS, IDC_SET_POSITION_COLUMNS, IDC_SET_COMMIT_COLUMNS})
        enableItem(id, listView);
    for (int id : {IDC_RENAME_BROKER, IDC_DELETE_BROKER}) enableItem(id, selectedConfig != nullptr);
}

void CBrokerSetting::showWindowName() {
    setItemText(IDC_WINDOW_NAME, windowNameText);
}

bool CBrokerSetting::onCommand(int id, int code, HWND control) {
    if (id == IDC_BROKER_SELECT && code == CBN_SELCHANGE) {
        OnCbnSelchangeBroker();
        return true;
    }
    if (code != BN_CLICKED) return halyard::Dialog::onCommand(id, code, control);
    switch (id) {
        case IDC_SET_BUTTONS:
            OnBnClickedSetButtons();
            return true;
        case IDC_SET_POSITION_COLUMNS:
            OnBnClickedSetPositionColumns();
            return true;
        case IDC_SET_COMMIT_COLUMNS:
            OnBnClickedSetCommitColumns();
            return true;
        case IDC_ADD_BROKER:
            OnBnClickedAdd();
            return true;
        case IDC_DETECT_BROKER:
            OnBnClickedDetect();
            return true;
        case IDC_RENAME_BROKER:
            OnBnClickedRename();
            return true;
        case IDC_DELETE_BROKER:
            OnBnClickedDelete();
            return true;
        default:
            return halyard::Dialog::onCommand(id, code, control);
    }
}

void CBrokerSetting::OnCbnSelchangeBroker() {
    const auto index = static_cast<int>(brokerCombo.send(CB_GETCURSEL));
    const std::vector<BrokerConfig*> brokers = BrokerConfigStore::instance()->brokers();
    if (index < 0 || static_cast<size_t>(index) >= brokers.size()) return;
    selectedConfig = brokers[static_cast<size_t>(index)];
    windowNameText = selectedConfig->windowName;
    showWindowName();
    enableButtons();
}

void CBrokerSetting::openEditor(CBrokerChildSetting::Mode mode) {
    if (selectedConfig && selectedConfig->family != ClientFamily::ListView) return;
    CBrokerChildSetting editor(hwnd());
    editor.editMode = mode;
    editor.editedConfig = selectedConfig;
    editor.doModal();
    if (!editor.changed) return;
    edited_.insert(selectedConfig);
    storeChanged_ = true;
}

void CBrokerSetting::OnBnClickedAdd() {
    CAddBrokerConfigDlg add(hwnd());
    if (add.doModal() != IDOK) return;
    BrokerConfigStore* store = BrokerConfigStore::instance();
    const std::vector<BrokerConfig*> brokers = store->brokers();
    std::unique_ptr<BrokerConfig> copy;
    if (add.sourceIndex >= 0 && static_cast<size_t>(add.sourceIndex) < brokers.size()) {
        copy = brokers[static_cast<size_t>(add.sourceIndex)]->clone();
        copy->name = add.nameText;
    } else {
        // Nothing to copy from (an empty store): a configuration with empty lists.
        copy = std::make_unique<BrokerConfig>(add.nameText, L"");
    }
    selectedConfig = copy.get();
    const std::wstring label = brokerListLabel(*selectedConfig);
    brokerCombo.send(CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(label.c_str()));
    windowNameText.clear();
    brokerCombo.send(CB_SETCURSEL, static_cast<WPARAM>(brokerCombo.send(CB_GETCOUNT) - 1));
    store->add(std::move(copy));
    storeChanged_ = true;
    showWindowName();
    enableButtons();
}

void CBrokerSetting::OnBnClickedRename() {
    if (!selectedConfig) return;
    CRenameBrokerDlg rename(*selectedConfig, hwnd());
    if (rename.doModal() != IDOK || rename.nameText == selectedConfig->name) return;
    if (!BrokerConfigStore::instance()->rename(selectedConfig, rename.nameText)) return;
    storeChanged_ = true;
    fillList();
}

void CBrokerSetting::OnBnClickedDelete() {
    if (!selectedConfig) return;
    BrokerConfigStore* store = BrokerConfigStore::instance();
    const bool inUse = selectedConfig == store->current;
    if (inUse && clientConnected) {
        halyard::showMessageBox(hwnd(), kDeleteInUse, MB_OK);
        return;
    }
    // The file is written only while a configuration is current, so the last one stays.
    if (store->brokers().size() < 2) {
        halyard::showMessageBox(hwnd(), kDeleteLast, MB_OK);
        return;
    }
    const std::wstring question = L"确定要删除券商配置 " + selectedConfig->name + L" 吗?";
    if (halyard::showMessageBox(hwnd(), question, MB_OKCANCEL) != IDOK) return;
    edited_.erase(selectedConfig);
    if (!store->remove(selectedConfig)) return;
    currentDeleted_ = currentDeleted_ || inUse;
    storeChanged_ = true;
    showStoreList();
}

void CBrokerSetting::OnBnClickedDetect() {
    if (!detection_) return;
    if (clientConnected && halyard::showMessageBox(hwnd(), kDetectWhileConnected, MB_OKCANCEL) != IDOK)
        return;
    BrokerConfigStore* store = BrokerConfigStore::instance();
    const BrokerConfig* currentBefore = store->current;
    const std::size_t countBefore = store->brokers().size();
    CAutoCheckBrokerDlg detection(*detection_, hwnd());
    detection.doModal();
    if (detection.succeeded) {
        detected_ = true;
        storeChanged_ = true;
        if (mainWindow) {
            mainWindow->clearNeverFoundValidBroker();
            if (!mainWindow->isInitializing()) mainWindow->refreshList();
        }
        onCancel();
        return;
    }
    // A layout learnt before the connect failed is in the store (added, current, saved): the
    // list must show it, or the next 增加 and OK would work on the wrong entries.
    if (store->current != currentBefore || store->brokers().size() != countBefore) {
        storeChanged_ = true;
        showStoreList();
    }
    const std::wstring reason = mainWindow ? mainWindow->brokerErrorText() : std::wstring();
    halyard::showMessageBox(hwnd(), kDetectionFailed + reason, MB_OK);
}

void CBrokerSetting::onOK() {
    if (!updateData(true)) return;
    if (!selectedConfig) {
        endDialog(IDOK);  // no configuration selected: nothing to write the name into
        return;
    }
    if (windowNameText.empty()) {
        halyard::showMessageBox(hwnd(), kNoWindowName, MB_OK);
        return;
    }
    if (selectedConfig->windowName != windowNameText) edited_.insert(selectedConfig);
    selectedConfig->windowName = windowNameText;
    storeChanged_ = true;
    BrokerConfigStore* store = BrokerConfigStore::instance();
    if (selectedConfig != store->current &&
        halyard::showMessageBox(hwnd(), kSaveCurrent, MB_OKCANCEL) == IDOK)
        store->current = selectedConfig;
    endDialog(IDOK);
}

void CBrokerSetting::onDestroy() {
    BrokerConfigStore* store = BrokerConfigStore::instance();
    BrokerConfig* current = store->current;
    // Detection connected the executor itself; otherwise a changed layout must be taken up.
    currentConfigChanged_ =
        !detected_ && current && (current != currentAtOpen_ || currentDeleted_ || edited_.count(current) > 0);
    if (storeChanged_) store->save();
}
