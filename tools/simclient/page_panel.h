#pragma once
// One page of the client: a "#32770" child dialog with no text, a direct child of the frame.
#include <windows.h>

namespace halyard::simclient {

class PagePanel {
public:
    virtual ~PagePanel() = default;
    virtual HWND panel() const = 0;
    // Re-reads the market into the page's controls.
    virtual void refresh() = 0;
};

}  // namespace halyard::simclient
