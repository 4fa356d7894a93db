#pragma once
// Little-endian fields, byte by byte, whatever the host.
#include <bit>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

namespace ovd {

inline void putU16(std::string& out, std::uint16_t v)
{
    out.push_back(static_cast<char>(v & 0xFF));
    out.push_back(static_cast<char>(v >> 8));
}
inline void putU32(std::string& out, std::uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        out.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
}
inline void putU64(std::string& out, std::uint64_t v)
{
    for (int i = 0; i < 8; ++i)
        out.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
}
inline void putI16(std::string& out, std::int16_t v)
{
    putU16(out, static_cast<std::uint16_t>(v));
}
inline void putI32(std::string& out, std::int32_t v)
{
    putU32(out, static_cast<std::uint32_t>(v));
}
inline void putF32(std::string& out, float v)
{
    putU32(out, std::bit_cast<std::uint32_t>(v));
}
inline void putF64(std::string& out, double v)
{
    putU64(out, std::bit_cast<std::uint64_t>(v));
}

inline std::uint16_t getU16(const unsigned char* p)
{
    return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}
inline std::uint32_t getU32(const unsigned char* p)
{
    return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
        (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}
inline std::uint64_t getU64(const unsigned char* p)
{
    return static_cast<std::uint64_t>(getU32(p)) | (static_cast<std::uint64_t>(getU32(p + 4)) << 32);
}
inline std::int16_t getI16(const unsigned char* p)
{
    return static_cast<std::int16_t>(getU16(p));
}
inline std::int32_t getI32(const unsigned char* p)
{
    return static_cast<std::int32_t>(getU32(p));
}
inline float getF32(const unsigned char* p)
{
    return std::bit_cast<float>(getU32(p));
}
inline double getF64(const unsigned char* p)
{
    return std::bit_cast<double>(getU64(p));
}

// Reads fields in order from a byte buffer; a read past the end sets failed() and yields 0.
class ByteReader {
public:
    explicit ByteReader(std::string_view bytes)
        : m_data(reinterpret_cast<const unsigned char*>(bytes.data()))
        , m_size(bytes.size())
    { }
    std::uint16_t u16() { return take(2) ? getU16(m_data + m_pos - 2) : 0; }
    std::uint32_t u32() { return take(4) ? getU32(m_data + m_pos - 4) : 0; }
    std::int16_t i16() { return take(2) ? getI16(m_data + m_pos - 2) : 0; }
    std::int32_t i32() { return take(4) ? getI32(m_data + m_pos - 4) : 0; }
    float f32() { return take(4) ? getF32(m_data + m_pos - 4) : 0.0f; }
    double f64() { return take(8) ? getF64(m_data + m_pos - 8) : 0.0; }
    void skip(std::size_t n) { take(n); }
    std::size_t position() const { return m_pos; }
    std::size_t remaining() const { return m_size - m_pos; }
    bool failed() const { return m_failed; }

private:
    bool take(std::size_t n)
    {
        if (m_failed || m_size - m_pos < n) {
            m_failed = true;
            return false;
        }
        m_pos += n;
        return true;
    }
    const unsigned char* m_data;
    std::size_t m_size;
    std::size_t m_pos = 0;
    bool m_failed = false;
};

}  // namespace ovd
