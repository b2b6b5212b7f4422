#include "simclient/grid_text.h"

#include "simclient/column_cells.h"

namespace halyard::simclient {
namespace {

void appendCell(std::wstring& out, const std::wstring& cell) {
    for (wchar_t c : cell) out += (c == L'\t' || c == L'\r' || c == L'\n') ? L' ' : c;
}

void appendLine(std::wstring& out, const std::vector<std::wstring>& cells, size_t width) {
    for (size_t i = 0; i < width; ++i) {
        if (i > 0) out += L'\t';
        if (i < cells.size()) appendCell(out, cells[i]);
    }
    out += L"\r\n";
}

}  // namespace

std::wstring gridCopyText(const std::vector<std::wstring>& titles,
                          const std::vector<std::vector<std::wstring>>& rows) {
    std::wstring text;
    appendLine(text, titles, titles.size());
    for (const auto& row : rows) appendLine(text, row, titles.size());
    return text;
}

const DeskWords& deskWords(Family family) {
    static const DeskWords listView{L"交易确认", L"确认", L"取消", L"提示", L"确认"};
    static const DeskWords grid{L"委托确认", L"是(Y)", L"否(N)", L"撤单确认", L"确定"};
    return family == Family::Grid ? grid : listView;
}

std::wstring acceptedNotice(Family family, Side side, int orderId) {
    const std::wstring id = std::to_wstring(orderId);
    if (family != Family::Grid) return L"委托已提交\n合同编号: " + id;
    return std::wstring(L"您的") + sideText(side) + L"委托已成功提交，合同编号：" + id + L"。";
}

std::wstring refusalNotice(Family family, const OrderCheck& check) {
    if (family != Family::Grid) return check.message;
    if (check.reason == "off_tick") return L"委托价格的小数价格应为2位，请重新输入！";
    if (check.reason == "above_sellable") return L"可用数量不足";
    return check.message;
}

}  // namespace halyard::simclient
