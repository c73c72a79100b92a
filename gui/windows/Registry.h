#pragma once

// The registry reader in Qt terms.

#include <QString>

#include <cstdint>
#include <optional>

namespace Module1 {

// The predefined root key handle of HKEY_CURRENT_USER.
constexpr std::uint32_t HkeyCurrentUser = 0x80000001u;

// A REG_SZ value's text up to its first NUL, or nothing: key or value missing, or another type.
std::optional<QString> ReadRegistryString(std::uint32_t root, const QString& keyPath, const QString& valueName);

} // namespace Module1
