#pragma once
// A 64-bit FNV-1a fingerprint of bytes, as 16 hex digits: tells whether two files or texts
// are the same, not a protection against someone who wants to forge one.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace ovd {

class ContentHash {
public:
    ContentHash& add(std::string_view bytes);
    // A text followed by a separator, so that "ab"+"c" and "a"+"bc" differ.
    ContentHash& addField(std::string_view text);
    std::uint64_t value() const { return m_value; }
    std::string hex() const;

private:
    std::uint64_t m_value = 0xcbf29ce484222325ull;
};

std::string hashHex(std::string_view bytes);
// The fingerprint of a regular file's content; nullopt when it cannot be read.
std::optional<std::string> fileHashHex(const std::string& path);

}  // namespace ovd
