#pragma once
#include <cstdint>
#include <string>

// One clickable spot in the broker client, in client coordinates of the receiving window.
struct ButtonPosition {
    std::wstring name;
    int32_t x = 0;
    int32_t y = 0;
};

inline bool operator==(const ButtonPosition& a, const ButtonPosition& b) {
    return a.name == b.name && a.x == b.x && a.y == b.y;
}

// What an entry of buttonPositions is clicked for is given by its index.
enum class ButtonSlot { Buy = 0, Sell = 1, Cancel = 2, CancelSecond = 3, Positions = 4 };
