#include "broker/client_popups.h"

namespace {

bool contains(const std::wstring& text, const wchar_t* part) {
    return text.find(part) != std::wstring::npos;
}

bool isAsciiAlnum(wchar_t c) {
    return (c >= L'0' && c <= L'9') || (c >= L'A' && c <= L'Z') || (c >= L'a' && c <= L'z');
}

// What may stand between "合同编号" and the number: "：", ":", "为", "是", brackets, blanks.
bool isNumberLead(wchar_t c) {
    return c == L':' || c == 0xFF1A || c == L'为' || c == L'是' || c == L'[' || c == 0x3010 || c == L' ' ||
           c == 0x3000 || c == L'\t';
}

std::wstring contractNumberIn(const std::wstring& text) {
    const wchar_t* const kLabel = L"合同编号";
    size_t at = text.find(kLabel);
    if (at == std::wstring::npos) return std::wstring();
    at += std::wstring(kLabel).size();
    while (at < text.size() && isNumberLead(text[at])) ++at;
    size_t end = at;
    while (end < text.size() && isAsciiAlnum(text[end])) ++end;
    return text.substr(at, end - at);
}

// Words of the client's refusals: a price off the tick ("小数价格应为"), a quantity beyond what is
// sellable ("可用数量不足"), a price beyond the day's limits, and failures in general.
bool readsAsRefusal(const std::wstring& text) {
    for (const wchar_t* word : {L"失败", L"不足", L"应为", L"超过", L"超出", L"高于", L"低于", L"涨停",
                                L"跌停", L"不能", L"不允许", L"错误", L"拒绝", L"无效", L"废单"})
        if (contains(text, word)) return true;
    return false;
}

std::wstring trimmed(const std::wstring& text) {
    const wchar_t* const kBlanks = L" \t\r\n\u3000";
    const size_t begin = text.find_first_not_of(kBlanks);
    if (begin == std::wstring::npos) return std::wstring();
    return text.substr(begin, text.find_last_not_of(kBlanks) - begin + 1);
}

}  // namespace

ClientPopup readClientPopup(const std::wstring& title, const std::wstring& text) {
    ClientPopup popup;
    // Checked first: the captcha is titled 提示 like the notices that are confirmed.
    if (contains(text, L"验证码") || contains(title, L"验证码")) {
        popup.kind = ClientPopupKind::Captcha;
    } else if (contains(title, L"委托确认")) {
        popup.kind = ClientPopupKind::OrderConfirmation;
    } else if (contains(title, L"撤单确认")) {
        popup.kind = ClientPopupKind::CancelConfirmation;
    } else if (readsAsRefusal(text)) {
        // Before the contract number: a text that says both is not a sale done.
        popup.kind = ClientPopupKind::OrderRefused;
        popup.reason = trimmed(text);
    } else if (!(popup.contractNumber = contractNumberIn(text)).empty()) {
        popup.kind = ClientPopupKind::OrderSubmitted;
    }
    return popup;
}
