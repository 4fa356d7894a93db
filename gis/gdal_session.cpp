#include "gdal_session.h"

#include <cpl_conv.h>
#include <cpl_error.h>
#include <gdal.h>
#include <ogr_api.h>

#include <mutex>

namespace ovd {

void initGdal()
{
    static std::once_flag once;
    std::call_once(once, [] {
        GDALAllRegister();
        // A study's files are opened by the name the user gave; GDAL must not look for
        // side files (.aux.xml) or leave them behind.
        CPLSetConfigOption("GDAL_PAM_ENABLED", "NO");
    });
}

GdalMessages::GdalMessages()
{
    CPLPushErrorHandlerEx(
        [](CPLErr cls, CPLErrorNum, const char* text) {
            auto* self = static_cast<GdalMessages*>(CPLGetErrorHandlerUserData());
            if (!self || !text)
                return;
            if (cls >= CE_Failure)
                self->m_errors.emplace_back(text);
            else if (cls == CE_Warning)
                self->m_warnings.emplace_back(text);
        },
        this);
}

GdalMessages::~GdalMessages()
{
    CPLPopErrorHandler();
}

std::string GdalMessages::take()
{
    std::string joined;
    for (const std::string& e : m_errors)
        joined += (joined.empty() ? "" : "; ") + e;
    if (joined.empty() && !m_warnings.empty())
        joined = m_warnings.back();
    m_errors.clear();
    m_warnings.clear();
    return joined;
}

std::string withGdalDetail(std::string text, GdalMessages& messages)
{
    std::string detail = messages.take();
    if (!detail.empty())
        text += " (GDAL: " + detail + ")";
    return text;
}

}  // namespace ovd
