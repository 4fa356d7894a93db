#pragma once
// What the command line of ovardix asks for: a new untitled project, a project to open,
// or a project to run unattended ("-f", "-F", "/f", "/F" before its path).
#include <QString>
#include <QStringList>

namespace ovd::mainui {

struct StartRequest {
    QString project;  // empty: a new untitled project
    bool unattended = false;
};

// The arguments after the program name, joined as one command line; the path may stand
// in double quotes or not.
StartRequest parseStartArguments(const QStringList& arguments);

}  // namespace ovd::mainui
