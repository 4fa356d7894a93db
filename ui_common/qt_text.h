#pragma once
// The core's strings are UTF-8; these convert them to and from Qt's strings.
#include <QString>

#include <string>
#include <string_view>

namespace ovd {

inline QString qs(std::string_view s)
{
    return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

inline std::string ss(const QString& s)
{
    return s.toStdString();
}

}  // namespace ovd
