#pragma once
// What the executor learns about the client besides tables: the texts of the pop-ups its
// sweeps confirmed ("委托价格超出涨跌停限制") and notes about its reads (a list cut short).
// Portable, so the monitor can put them into the journal beside the orders they follow.
#include <string>
#include <vector>

class ClientContact {
public:
    virtual ~ClientContact() = default;
    // Oldest first; each text is handed out once.
    virtual std::vector<std::wstring> takeClientNotices() = 0;
};
