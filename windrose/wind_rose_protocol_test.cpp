#include "wind_rose_protocol.h"

#include <gtest/gtest.h>

namespace ovd {
namespace {

TEST(WindRoseProtocol, RtfEscapesTextAndEmbedsThePicture)
{
    WindRoseGrid grid;
    grid.enter(1, 1, 1235);
    WindRoseProtocol p;
    p.comment = "Růžice {a\\b}";
    p.path = "/data/r.txt";
    p.png = std::string("\x89PNG", 4);
    p.pictureWidth = 10;
    p.pictureHeight = 20;
    std::string rtf = windRoseProtocolRtf(grid, p);
    EXPECT_NE(rtf.find("R\\u367?\\u382?ice: R\\u367?\\u382?ice \\{a\\\\b\\}"), std::string::npos);
    EXPECT_NE(rtf.find("\\pngblip\\picw10\\pich20\\picwgoal150\\pichgoal300\n89504e47}"), std::string::npos);
    EXPECT_NE(rtf.find("Soubor: /data/r.txt"), std::string::npos);
    EXPECT_EQ(rtf.find("\\pict", rtf.find("\\pict") + 1), std::string::npos);
    std::string html = windRoseProtocolHtml(grid, p, "r.png");
    EXPECT_NE(html.find("Růžice {a\\b}"), std::string::npos);
    EXPECT_NE(html.find("<img src=\"r.png\">"), std::string::npos);
    // Without a picture there is no picture group; invalid UTF-8 does not break the text.
    p.png.clear();
    p.comment = "\xC5";
    rtf = windRoseProtocolRtf(grid, p);
    EXPECT_EQ(rtf.find("\\pict"), std::string::npos);
    EXPECT_NE(rtf.find("R\\u367?\\u382?ice: ?\\par"), std::string::npos);
}

TEST(WindRoseProtocol, TableLinesAlignValuesUnderTitles)
{
    WindRoseGrid grid;
    grid.enter(1, 1, 1235);
    std::vector<std::string> lines = windRoseTableLines(grid);
    ASSERT_EQ(lines.size(), 13u);
    EXPECT_EQ(lines[1].rfind(" I.tř. v=1.7 m/s", 0), 0u);
    std::size_t column = lines[0].find("     N") + 6;  // ASCII up to there, as " Sum (Graf)"
    EXPECT_EQ(lines[12].substr(column - 5, 5), "12.35");
    EXPECT_NE(lines[12].find("12.35/12.35"), std::string::npos);
}

}  // namespace
}  // namespace ovd
