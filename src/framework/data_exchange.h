#pragma once
// Data exchange between a dialog's fields and its controls. Loading writes the fields into the
// controls. Saving reads every control into a temporary and validates it; the fields change only
// when the whole exchange succeeded (commit), so a failed read leaves all of them as they were.
// The first failure shows the framework's message, puts the focus on the offending control and
// turns every later call of the same exchange into a no-op.
#include <windows.h>

#include <string>
#include <vector>

namespace halyard {

class DataExchange {
public:
    DataExchange(HWND dialog, bool saveAndValidate);

    bool saving() const { return saving_; }
    bool failed() const { return failed_; }
    HWND dialog() const { return dialog_; }

    // Edits: integers as "%d"; floats with up to six significant digits; plain text.
    void text(int id, int& value);
    void text(int id, float& value);
    void text(int id, std::wstring& value);
    // Check box state (0, 1, 2 for indeterminate).
    void check(int id, int& value);
    // Index of the checked radio button in the group that starts at `firstId`, -1 when none is.
    void radio(int firstId, int& value);
    // Index of a drop-down list's selection; a list without one leaves the field as it was.
    void comboIndex(int id, int& value);

    // Range checks of the value just read for `value`; nothing when loading or when its control
    // was missing.
    void range(int& value, int minimum, int maximum);
    void range(float& value, float minimum, float maximum);

    // Writes the values read into the fields; does nothing after a failure.
    void commit();

private:
    struct Pending {
        int* intField = nullptr;
        float* floatField = nullptr;
        std::wstring* textField = nullptr;
        int intValue = 0;
        float floatValue = 0;
        std::wstring textValue;
    };

    HWND control(int id);
    void fail(const std::wstring& message);
    Pending* pendingFor(const void* field);

    HWND dialog_;
    bool saving_;
    bool failed_ = false;
    int lastId_ = 0;
    bool lastWasEdit_ = false;
    std::vector<Pending> pending_;
};

}  // namespace halyard
