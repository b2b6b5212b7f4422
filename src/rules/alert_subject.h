#pragma once
// What a message alert is about, so that the channels can tell a repeat from news: the stock,
// the condition that triggered, and what the alert says was done.
#include <string>

struct AlertSubject {
    enum class Kind {
        Notice,     // not about one rule's trigger (contact, a sale not seen, the report): always news
        Sold,       // the sale went in
        NotSold,    // the sale was refused, held back or could not be made
        AlertOnly,  // 仅提醒: nothing was to be sold
        Report,     // the daily report: not urgent
    };
    std::wstring code;
    std::wstring condition;
    Kind kind = Kind::Notice;
};
