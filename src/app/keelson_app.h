#pragma once
// The application object: one instance per log-on (the mutex "KeelsonInst"), then the main
// window as a modal dialog; the program ends when it closes.
#include <windows.h>

#include "common/unique_handle.h"
#include "framework/application.h"

class CKeelsonApp : public halyard::Application {
protected:
    // Always 0: the process ends once it returns.
    int initInstance() override;

private:
    // Held until the process ends, so later starts see the first instance.
    halyard::UniqueHandle instanceMutex_;
};

// Lifts a top-level window above all others without leaving it topmost; a minimised one is
// restored and activated.
void bringWindowToFront(HWND window);
