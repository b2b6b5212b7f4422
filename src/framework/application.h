#pragma once
// The application object: initialises the common controls and runs initInstance, which for
// a dialog-based program runs the main window modally and then lets the process end.
#include <windows.h>

namespace halyard {

class Application {
public:
    Application() = default;
    Application(const Application&) = delete;
    Application& operator=(const Application&) = delete;
    virtual ~Application() = default;

    // Common controls (class set 0xFF), then initInstance; the process exit code.
    int run();

    // The module holding the program's resources (the executable).
    static HINSTANCE resourceInstance();

protected:
    // The program's start-up; its result is the exit code.
    virtual int initInstance() = 0;
};

// InitCommonControlsEx with ICC_WIN95_CLASSES (0xFF); true on success.
bool initCommonControls();

}  // namespace halyard
