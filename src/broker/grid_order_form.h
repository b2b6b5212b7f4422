#pragma once
// The grid family's buy or sell form in the client: code, price and quantity edits and the
// order button. What Halyard writes is read back before anything is pressed; a
// build whose edits ignore WM_SETTEXT gets the characters typed into the edit itself. A form
// Halyard did not press is left with the texts it had.
#include <windows.h>

#include <optional>
#include <string>

#include "broker/window_toolkit.h"
#include "brokerconfig/grid_layout.h"

enum class FormOutcome {
    Ready,         // the three fields hold what was written
    Busy,          // the investor is typing in the form: nothing was touched
    Missing,       // the page lacks one of the controls
    NotAnswering,  // a control did not answer
    NoQuote,       // the client filled in no price for the code
    Mismatch,      // a field reads back differently from what was written
};

// The form's controls; detection learns them per client.
struct FormControlIds {
    int code = GridLayout::kDefaultCodeEdit, price = GridLayout::kDefaultPriceEdit,
        quantity = GridLayout::kDefaultQuantityEdit, orderButton = GridLayout::kDefaultOrderButton;
};

inline FormControlIds formIdsOf(const GridLayout& layout) {
    return {layout.codeEditId, layout.priceEditId, layout.quantityEditId, layout.orderButtonId};
}

class GridOrderForm {
public:
    explicit GridOrderForm(HWND page, const FormControlIds& ids = {});
    // Puts back the texts the form had when Halyard did not press.
    ~GridOrderForm();
    GridOrderForm(const GridOrderForm&) = delete;
    GridOrderForm& operator=(const GridOrderForm&) = delete;

    // The client's own latest price for the code: written into an empty price field, it arrives
    // a moment after the code.
    std::optional<std::wstring> quote(const std::wstring& code, DWORD waitMs = 2000);
    // Code, price (empty: the client's quote stays) and quantity written and read back.
    FormOutcome fill(const std::wstring& code, const std::wstring& price, const std::wstring& quantity);
    // The order button, only after a fill read back as written.
    ButtonPress press();
    FormOutcome lastOutcome() const { return outcome_; }

private:
    bool investorTyping() const;
    bool begin();
    bool write(HWND edit, const std::wstring& text);
    bool type(HWND edit, const std::wstring& text);
    void putBack();

    HWND page_;
    HWND code_ = nullptr, price_ = nullptr, quantity_ = nullptr, button_ = nullptr;
    std::optional<std::wstring> found_[3];
    bool touched_ = false;
    bool pressed_ = false;
    bool readBack_ = false;
    FormOutcome outcome_ = FormOutcome::Ready;
};
