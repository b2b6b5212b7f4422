#include "alerts/hmac_sha256_win.h"

#include <windows.h>

#include <bcrypt.h>

#include "common/unique_handle.h"

namespace {

constexpr ULONG kDigestSize = 32;

NTSTATUS closeAlgorithm(BCRYPT_ALG_HANDLE algorithm) {
    return BCryptCloseAlgorithmProvider(algorithm, 0);
}
NTSTATUS destroyHash(BCRYPT_HASH_HANDLE hash) {
    return BCryptDestroyHash(hash);
}
using UniqueAlgorithm =
    halyard::UniqueResource<halyard::SimpleHandleTraits<BCRYPT_ALG_HANDLE, NTSTATUS, closeAlgorithm>>;
using UniqueHash =
    halyard::UniqueResource<halyard::SimpleHandleTraits<BCRYPT_HASH_HANDLE, NTSTATUS, destroyHash>>;

bool succeeded(NTSTATUS status) {
    return status >= 0;
}

PUCHAR bytesOf(const std::string& text) {
    return reinterpret_cast<PUCHAR>(const_cast<char*>(text.data()));
}

}  // namespace

bool hmacSha256(const std::string& key, const std::string& message, std::string& digest) {
    UniqueAlgorithm algorithm;
    if (!succeeded(BCryptOpenAlgorithmProvider(algorithm.receive(), BCRYPT_SHA256_ALGORITHM, nullptr,
                                               BCRYPT_ALG_HANDLE_HMAC_FLAG)))
        return false;
    // The hash object's memory is the provider's own when none is given (Windows 7 and later).
    UniqueHash hash;
    if (!succeeded(BCryptCreateHash(algorithm.get(), hash.receive(), nullptr, 0, bytesOf(key),
                                    static_cast<ULONG>(key.size()), 0)))
        return false;
    if (!message.empty() &&
        !succeeded(BCryptHashData(hash.get(), bytesOf(message), static_cast<ULONG>(message.size()), 0)))
        return false;
    std::string result(kDigestSize, '\0');
    if (!succeeded(BCryptFinishHash(hash.get(), bytesOf(result), kDigestSize, 0))) return false;
    digest = std::move(result);
    return true;
}
