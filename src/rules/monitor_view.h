#pragma once
// What the monitor session tells the main window to show. Showing happens at once, also inside
// a cycle; what may re-enter the window (a message box, the list's refresh) is handed over only
// once the session's work for a timer or a command is done.
#include <cstddef>
#include <string>

class MonitorView {
public:
    virtual ~MonitorView() = default;
    // The line under the list; a connect or a sale blocks for seconds after it.
    virtual void showStatusLine(const std::wstring& text) = 0;
    virtual void showRowCount(std::size_t count) = 0;
    // Handed over after the work: the rows, the 追单 box and the cells read again.
    virtual void refreshList() = 0;
    virtual void repaintList() = 0;
    virtual void showMessage(const std::wstring& text) = 0;
};
