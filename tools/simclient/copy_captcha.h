#pragma once
// The grid family's guard against copying: the copies of one client process are counted, and
// the one at `first`, then every `every`-th after it, must be answered with a code before
// anything is copied.
#include <cstdint>
#include <string>

namespace halyard::simclient {

class CopyCaptcha {
public:
    // 0 for `first` never asks; 0 for `every` asks only once.
    CopyCaptcha(int first, int every, uint32_t seed) : first_(first), every_(every), state_(seed | 1u) {}

    // Counts one copy asked for; true when this copy needs a code first.
    bool countCopy();
    int copies() const { return copies_; }
    // A fresh four-digit code.
    std::wstring newCode();

private:
    int first_;
    int every_;
    int copies_ = 0;
    uint32_t state_;
};

}  // namespace halyard::simclient
