#pragma once
// Modal dialog run from a dialog template of the program's resources. The dialog procedure
// routes the messages the program handles to virtual member handlers; everything not handled
// gets the system's default dialog processing.
#include <windows.h>

#include <string>

#include "framework/data_exchange.h"

namespace halyard {

class Dialog {
public:
    explicit Dialog(int templateId, HWND parent = nullptr);
    Dialog(const Dialog&) = delete;
    Dialog& operator=(const Dialog&) = delete;
    virtual ~Dialog() = default;

    // Runs the modal loop; the result given to endDialog (IDOK, IDCANCEL, ...), or -1 when the
    // template cannot be loaded or the dialog is already running.
    INT_PTR doModal();
    void setParent(HWND parent) { parent_ = parent; }
    HWND hwnd() const { return hwnd_; }
    int templateId() const { return templateId_; }

    // Saving: reads and validates every bound control and, only if all are valid, stores them in
    // the fields. Loading: shows the fields in the controls. False on a failed read (the message
    // has been shown and the focus is on the control) or when the dialog is not running.
    bool updateData(bool saveAndValidate = true);
    void endDialog(INT_PTR result);

    HWND item(int id) const;
    std::wstring itemText(int id) const;
    void setItemText(int id, const std::wstring& text);
    void enableItem(int id, bool enabled);

protected:
    // Binds fields to controls, in exchange order (DataExchange).
    virtual void doDataExchange(DataExchange& exchange);

    // Default: updateData(false); true lets the system put the focus on the first control.
    virtual bool onInitDialog();
    // WM_COMMAND not taken by the control itself (Window::reflectCommand). Default: IDOK runs
    // onOK and IDCANCEL (Cancel button, Esc, close box) runs onCancel. True when handled.
    virtual bool onCommand(int id, int code, HWND control);
    // Default: updateData(true), then endDialog(IDOK) only if that succeeded.
    virtual void onOK();
    // Default: endDialog(IDCANCEL); nothing is read.
    virtual void onCancel();
    // WM_NOTIFY not taken by the control itself. True when handled; `result` is the answer.
    virtual bool onNotify(int id, NMHDR& header, LRESULT& result);
    virtual void onTimer(UINT_PTR timerId);
    // False lets the system handle the command.
    virtual bool onSysCommand(WPARAM command, LPARAM lParam);
    // False lets the system paint.
    virtual bool onPaint();
    virtual HICON onQueryDragIcon();
    virtual void onDestroy();
    // Every other message (private messages, WM_CLOSE, WM_CTLCOLOR*, ...). True when handled;
    // `result` is then the answer (for WM_CTLCOLOR* the brush).
    virtual bool onMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);

private:
    static INT_PTR CALLBACK dialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    bool dispatch(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);

    int templateId_;
    HWND parent_;
    HWND hwnd_ = nullptr;
};

}  // namespace halyard
