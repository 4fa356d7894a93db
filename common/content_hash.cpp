#include "common/content_hash.h"

#include <cstdio>

#include "common/file_io.h"

namespace ovd {

ContentHash& ContentHash::add(std::string_view bytes)
{
    for (unsigned char c : bytes) {
        m_value ^= c;
        m_value *= 0x100000001b3ull;
    }
    return *this;
}

ContentHash& ContentHash::addField(std::string_view text)
{
    add(text);
    return add(std::string_view("\0", 1));
}

std::string ContentHash::hex() const
{
    char buf[17];
    std::snprintf(buf, sizeof buf, "%016llx", static_cast<unsigned long long>(m_value));
    return buf;
}

std::string hashHex(std::string_view bytes)
{
    return ContentHash().add(bytes).hex();
}

std::optional<std::string> fileHashHex(const std::string& path)
{
    File f;
    if (!f.openInput(path))
        return std::nullopt;
    ContentHash h;
    char buf[1 << 16];
    std::size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, f.get())) > 0)
        h.add(std::string_view(buf, n));
    if (std::ferror(f.get()))
        return std::nullopt;
    return h.hex();
}

}  // namespace ovd
