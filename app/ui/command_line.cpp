#include "command_line.h"

namespace ovd::mainui {

namespace {

QString unquoted(QString s)
{
    s = s.trimmed();
    if (s.size() >= 2 && s.startsWith('"') && s.endsWith('"'))
        s = s.mid(1, s.size() - 2);
    return s;
}

}  // namespace

StartRequest parseStartArguments(const QStringList& arguments)
{
    QString line = arguments.join(' ').trimmed();
    StartRequest r;
    if (line.size() >= 2 && (line[0] == '-' || line[0] == '/') && (line[1] == 'f' || line[1] == 'F') &&
        (line.size() == 2 || line[2] == ' ')) {
        r.unattended = true;
        line = line.mid(2);
    }
    r.project = unquoted(line);
    return r;
}

}  // namespace ovd::mainui
