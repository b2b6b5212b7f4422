#include "rules/trade_journal.h"

#include <cstdio>
#include <memory>
#include <utility>

#include "broker/number_text.h"
#include "common/c_format.h"
#include "common/file_store.h"
#include "common/text_encoding.h"

namespace {

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

File openForAppend(const std::wstring& path) {
#ifdef _WIN32
    return File(_wfopen(path.c_str(), L"ab"));
#else
    return File(std::fopen(halyard::toUtf8(path).c_str(), "ab"));
#endif
}

std::wstring timestamp(const std::tm& time) {
    return halyard::wcformat("%04d-%02d-%02d %02d:%02d:%02d", time.tm_year + 1900, time.tm_mon + 1,
                             time.tm_mday, time.tm_hour, time.tm_min, time.tm_sec);
}

}  // namespace

std::tm currentLocalTime() {
    std::time_t now = std::time(nullptr);
    std::tm local{};
#ifdef _WIN32
    localtime_s(&local, &now);
#else
    localtime_r(&now, &local);
#endif
    return local;
}

TradeJournal::TradeJournal(std::wstring folder, Clock clock)
    : path_(std::move(folder) + kFileName), clock_(clock ? std::move(clock) : Clock(currentLocalTime)) {}

void TradeJournal::trigger(const std::wstring& code, const std::wstring& name, TriggerKind kind,
                           float currentPrice) {
    append(L"触发 " + code + L" " + name + L" " + conditionText(kind) + L" 当前价 " +
           formatPrice(currentPrice));
}

void TradeJournal::sale(const std::wstring& code, const std::wstring& name, float price, int32_t quantity,
                        int32_t result) {
    append(L"卖出 " + code + L" " + name + L" 价格 " + formatPrice(price) + L" 数量 " +
           halyard::wcformat("%d", quantity) + L" 结果 " + halyard::wcformat("%d", result) +
           (result == 1 ? L" 已提交" : L" 未提交"));
}

void TradeJournal::cancellation(const std::wstring& code, const std::wstring& name, int32_t pendingQuantity,
                                bool result) {
    append(L"撤单 " + code + L" " + name + L" 未成交卖单 " + halyard::wcformat("%d", pendingQuantity) +
           L" 结果 " + (result ? L"1 已撤" : L"0 撤单未确认"));
}

void TradeJournal::alert(const std::wstring& channel, const std::wstring& recipient,
                         const std::wstring& text) {
    append(L"提醒 " + channel + L" " + recipient + L" " + text);
}

void TradeJournal::layoutLearned(const BrokerConfig& config) {
    static const wchar_t* const slots[] = {L"买入", L"卖出", L"撤单", L"撤单2", L"持仓"};
    std::wstring text = L"学到券商布局 " + config.name;
    const std::vector<ButtonPosition>& buttons = config.buttonPositionList();
    for (size_t i = 0; i < buttons.size(); ++i)
        text += std::wstring(L" ") + (i < 5 ? slots[i] : L"?") +
                halyard::wcformat("(%d,%d)", buttons[i].x, buttons[i].y);
    auto joined = [](const StringList& titles) {
        std::wstring all;
        for (const std::wstring& title : titles) all += (all.empty() ? L"" : L",") + title;
        return all;
    };
    append(text + L" 持仓列 " + joined(config.positionTitles()) + L" 委托列 " +
           joined(config.commitTitles()));
}

void TradeJournal::note(const std::wstring& text) {
    append(text);
}

void TradeJournal::append(const std::wstring& text) {
    std::wstring line = timestamp(clock_()) + L" " + text;
    for (wchar_t& c : line) {
        if (c == L'\r' || c == L'\n') c = L' ';
    }
    const std::string bytes = halyard::toUtf8(line) + halyard::withPlatformLineEnds("\n");
    std::lock_guard<std::mutex> guard(lock_);
    File file = openForAppend(path_);
    bool written = file && std::fwrite(bytes.data(), 1, bytes.size(), file.get()) == bytes.size();
    written = file && std::fflush(file.get()) == 0 && written;
    lastWriteSucceeded_ = written;
}
