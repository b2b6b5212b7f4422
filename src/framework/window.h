#pragma once
// Base of the framework's control classes: a C++ object bound to an existing window (usually a
// control of a dialog template) by subclassing it. The object never destroys the window; the
// binding ends when the window is destroyed or the object goes away, whichever comes first.
#include <windows.h>

#include <string>

namespace halyard {

class Window {
public:
    Window() = default;
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;
    virtual ~Window();

    // Binds to control `id` of `dialog`, or to `window` itself. False when there is no such
    // window or this object is already bound.
    bool attach(HWND dialog, int id);
    bool attachWindow(HWND window);
    void detach();

    HWND hwnd() const { return hwnd_; }
    int id() const;
    HWND parent() const;

    std::wstring text() const;
    void setText(const std::wstring& text);
    void enable(bool enabled);
    bool isEnabled() const;
    void invalidate(bool erase = true);
    LRESULT send(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const;

    // The framework object bound to `window`, or null.
    static Window* fromHandle(HWND window);

    // Notifications and commands the parent dialog received from this control are offered here
    // first. Returning true means handled: the parent's own handlers then do not see them.
    virtual bool reflectNotify(NMHDR& header, LRESULT& result);
    virtual bool reflectCommand(int code);
    virtual bool reflectDrawItem(DRAWITEMSTRUCT& item);

protected:
    // Every message of the bound window; the default passes it to the window's own procedure.
    virtual LRESULT windowProc(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT defaultProc(UINT message, WPARAM wParam, LPARAM lParam);
    // After binding, before any message is routed here.
    virtual void onAttached() {}

private:
    static LRESULT CALLBACK subclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                         UINT_PTR subclassId, DWORD_PTR self);

    HWND hwnd_ = nullptr;
};

}  // namespace halyard
