#pragma once
// The investor's journal: one line per trigger, sale, cancellation and alert, with date and
// time, appended to a UTF-8 text file beside the executable. Writing never fails loudly: a
// journal that cannot be written must not stop a sale.
#include <cstdint>
#include <ctime>
#include <functional>
#include <mutex>
#include <string>

#include "brokerconfig/broker_config.h"
#include "rules/trigger_evaluation.h"

class TradeJournal {
public:
    static constexpr const wchar_t* kFileName = L"Halyard_journal.txt";
    using Clock = std::function<std::tm()>;

    // folder ends with a separator; clock gives the local time (the system's when empty).
    explicit TradeJournal(std::wstring folder, Clock clock = Clock());

    void trigger(const std::wstring& code, const std::wstring& name, TriggerKind kind, float currentPrice);
    void sale(const std::wstring& code, const std::wstring& name, float price, int32_t quantity,
              int32_t result);
    // `result`: a read of the orders after the cancel no longer showed the order.
    void cancellation(const std::wstring& code, const std::wstring& name, int32_t pendingQuantity,
                      bool result);
    void alert(const std::wstring& channel, const std::wstring& recipient, const std::wstring& text);
    // A layout detection learnt: the toolbar points of the five slots and both lists' titles.
    void layoutLearned(const BrokerConfig& config);
    void note(const std::wstring& text);

    const std::wstring& path() const { return path_; }
    // False when the last line could not be written.
    bool lastWriteSucceeded() const { return lastWriteSucceeded_; }

private:
    void append(const std::wstring& text);

    std::wstring path_;
    Clock clock_;
    std::mutex lock_;
    bool lastWriteSucceeded_ = true;
};

std::tm currentLocalTime();
