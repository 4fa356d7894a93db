#pragma once
// GDAL set up once per process, and GDAL's own messages collected instead of printed, so
// that a failure reaches the user as one Czech message naming the file.
#include <string>
#include <vector>

namespace ovd {

// Registers GDAL's drivers (once, whatever the number of calls).
void initGdal();

// While it lives, GDAL's warnings and errors on this thread are kept here.
class GdalMessages {
public:
    GdalMessages();
    ~GdalMessages();
    GdalMessages(const GdalMessages&) = delete;
    GdalMessages& operator=(const GdalMessages&) = delete;

    // The errors so far joined by "; " (the last warning when there is no error), empty when
    // none came; and forgets them.
    std::string take();
    bool hasErrors() const { return !m_errors.empty(); }

private:
    std::vector<std::string> m_errors, m_warnings;
};

// "text" or "text (GDAL: detail)" when GDAL said why.
std::string withGdalDetail(std::string text, GdalMessages&);

}  // namespace ovd
