#pragma once
// The values of one coefficient matrix, row by row: either held in memory or mapped read-only
// from the matrix file, so that the largest studies do not need the matrices in memory (the
// engine reads them by tile). Changing a mapped matrix first copies it into memory.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace ovd {

class MatrixValues {
public:
    MatrixValues() = default;
    MatrixValues(std::vector<float> values)  // NOLINT: a plain vector stands for the values
        : m_own(std::move(values))
    { }
    MatrixValues& operator=(std::vector<float> values);

    // Maps `count` floats at byte `offset` of the file (little-endian, as this processor
    // stores them). False, values unchanged, when the file cannot be mapped.
    bool map(const std::string& path, std::uint64_t offset, std::size_t count);
    bool mapped() const { return m_map != nullptr; }

    float operator[](std::size_t i) const { return data()[i]; }
    float& operator[](std::size_t i) { return own()[i]; }
    const float* data() const { return m_map ? m_mapped : m_own.data(); }
    std::size_t size() const { return m_map ? m_mappedSize : m_own.size(); }
    bool empty() const { return size() == 0; }
    const float* begin() const { return data(); }
    const float* end() const { return data() + size(); }

    void clear() { own().clear(); }
    void reserve(std::size_t n) { own().reserve(n); }
    void resize(std::size_t n) { own().resize(n); }
    void assign(std::size_t n, float v) { own().assign(n, v); }
    void push_back(float v) { own().push_back(v); }
    void pop_back() { own().pop_back(); }
    template <class It> void insert(const float* at, It first, It last)
    {
        const std::ptrdiff_t place = at - data();
        std::vector<float>& v = own();
        v.insert(v.begin() + place, first, last);
    }

    void erase(const float* first, const float* last)
    {
        const std::ptrdiff_t from = first - data(), to = last - data();
        std::vector<float>& v = own();
        v.erase(v.begin() + from, v.begin() + to);
    }

private:
    struct Mapping;
    std::vector<float>& own();

    std::vector<float> m_own;
    std::shared_ptr<const Mapping> m_map;
    const float* m_mapped = nullptr;
    std::size_t m_mappedSize = 0;
};

}  // namespace ovd
