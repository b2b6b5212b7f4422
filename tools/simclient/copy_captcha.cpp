#include "simclient/copy_captcha.h"

#include "common/c_format.h"

namespace halyard::simclient {

bool CopyCaptcha::countCopy() {
    ++copies_;
    if (first_ <= 0 || copies_ < first_) return false;
    if (copies_ == first_) return true;
    return every_ > 0 && (copies_ - first_) % every_ == 0;
}

std::wstring CopyCaptcha::newCode() {
    // xorshift: codes differ from one question to the next without any library state.
    state_ ^= state_ << 13;
    state_ ^= state_ >> 17;
    state_ ^= state_ << 5;
    return wcformat("%04u", static_cast<unsigned>(state_ % 10000u));
}

}  // namespace halyard::simclient
