#include "mpi/tile_runner.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>

namespace ovd {
namespace {

TEST(TilesOfRank, EveryTileGoesToExactlyOneRank)
{
    for (int ranks : {1, 2, 3, 7, 10}) {
        std::vector<int> owner(7, -1);
        for (int r = 0; r < ranks; ++r)
            for (std::size_t k : tilesOfRank(7, r, ranks)) {
                ASSERT_LT(k, owner.size());
                EXPECT_EQ(owner[k], -1) << "tile " << k << " given twice with " << ranks << " ranks";
                owner[k] = r;
            }
        EXPECT_TRUE(std::none_of(owner.begin(), owner.end(), [](int o) { return o < 0; })) << ranks << " ranks";
    }
}

TEST(TilesOfRank, RankTakesEveryNthTile)
{
    EXPECT_EQ(tilesOfRank(7, 1, 3), (std::vector<std::size_t>{1, 4}));
    EXPECT_EQ(tilesOfRank(2, 2, 3), std::vector<std::size_t>{});
    EXPECT_EQ(tilesOfRank(3, 0, 0), std::vector<std::size_t>{});
}

}  // namespace
}  // namespace ovd
