#pragma once
// What the grid family puts on the clipboard and says in its pop-ups.
#include <string>
#include <vector>

#include "simclient/client_options.h"
#include "simclient/market.h"
#include "simclient/order_check.h"

namespace halyard::simclient {

// A grid's copy: the column titles, then one line per row; cells are separated by tabs and
// lines end in CRLF. A tab or line break inside a cell becomes a blank, so every line keeps one
// cell per column.
std::wstring gridCopyText(const std::vector<std::wstring>& titles,
                          const std::vector<std::vector<std::wstring>>& rows);

// The words of the order desk's pop-ups, which differ between the two families.
struct DeskWords {
    const wchar_t* orderConfirmTitle;
    const wchar_t* yes;
    const wchar_t* no;
    const wchar_t* cancelConfirmTitle;
    const wchar_t* noticeButton;
};
const DeskWords& deskWords(Family family);

// The 提示 after an order was placed: it always names the 合同编号.
std::wstring acceptedNotice(Family family, Side side, int orderId);
// The 提示 of a refused order, in the family's own words where they differ.
std::wstring refusalNotice(Family family, const OrderCheck& check);

}  // namespace halyard::simclient
