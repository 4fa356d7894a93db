#pragma once
// A table of values by N indices in one vector, the last index running fastest: the engine
// keeps its per-(source, class), per-(case, point, direction) ... values so, one allocation
// each, a row of the last index contiguous for the kernels.
#include <array>
#include <cstddef>
#include <vector>

namespace ovd {

template <class T, int N> class Strided {
    static_assert(N >= 1);

public:
    // Sizes every index (extents in the order of the indices) and sets every value.
    void assign(const std::array<int, N>& extents, const T& value) { values_.assign(setExtents(extents), value); }
    // Sizes every index; the values are left as they are (to be overwritten before they are read).
    void resize(const std::array<int, N>& extents) { values_.resize(setExtents(extents)); }

    template <class... I> T& operator()(I... index) { return values_[offset(index...)]; }
    template <class... I> const T& operator()(I... index) const { return values_[offset(index...)]; }
    // The values of the last index at the first N - 1 indices.
    template <class... I> T* row(I... index) { return values_.data() + offset(index..., 0); }
    template <class... I> const T* row(I... index) const { return values_.data() + offset(index..., 0); }

    int extent(int d) const { return static_cast<int>(extents_[static_cast<std::size_t>(d)]); }
    bool empty() const { return values_.empty(); }

private:
    std::size_t setExtents(const std::array<int, N>& extents)
    {
        std::size_t size = 1;
        for (std::size_t d = 0; d < static_cast<std::size_t>(N); ++d) {
            extents_[d] = static_cast<std::size_t>(extents[d]);
            size *= extents_[d];
        }
        return size;
    }
    template <class... I> std::size_t offset(I... index) const
    {
        static_assert(sizeof...(I) == N, "one index per dimension");
        const std::size_t at[] = {static_cast<std::size_t>(index)...};
        std::size_t o = 0;
        for (std::size_t d = 0; d < static_cast<std::size_t>(N); ++d)
            o = o * extents_[d] + at[d];
        return o;
    }

    std::array<std::size_t, N> extents_{};
    std::vector<T> values_;
};

}  // namespace ovd
