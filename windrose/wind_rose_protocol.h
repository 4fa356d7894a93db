#pragma once
// The editor's protocol of a wind rose: the rose picture, the table of values and the
// other data (date, comment, file), as rich text (RTF) for the system's word processor
// and as HTML for the protocol window.
#include <string>
#include <vector>

#include "wind_rose_grid.h"

namespace ovd {

struct WindRoseProtocol {
    std::string date;                         // as shown after "Datum:"
    std::string comment;                      // "Růžice:"
    std::string path;                         // "Soubor:"
    std::string png;                          // the rose picture, PNG bytes (may be empty)
    int pictureWidth = 0, pictureHeight = 0;  // pixels
};

// The table as fixed-width lines: the column titles, the eleven rows with their labels
// (speeds in "m/s"), then the direction totals.
std::vector<std::string> windRoseTableLines(const WindRoseGrid&);

std::string windRoseProtocolRtf(const WindRoseGrid&, const WindRoseProtocol&);
std::string windRoseProtocolHtml(const WindRoseGrid&, const WindRoseProtocol&, const std::string& imageSource);

}  // namespace ovd
