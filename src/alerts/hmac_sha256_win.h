#pragma once
// HMAC-SHA256 by the system's cryptography (CNG).
#include <string>

// The 32-byte digest of `message` under `key`; false when the system could not make it.
bool hmacSha256(const std::string& key, const std::string& message, std::string& digest);
