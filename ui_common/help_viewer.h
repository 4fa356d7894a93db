#pragma once
// The help window of all three programs: a chapter of the user guide (HTML or Markdown)
// shown formatted, with its links followed inside the window.
#include <QString>

class QWidget;

namespace ovd {

class Reporter;

// Where the user guide lies: installed (share/ovardix beside the program's bin folder),
// else the source tree's docs folder; empty when neither holds it.
QString userGuideFolder();

// Shows `chapter` ("guide.html", "guide/xovrzdr.md") in the help window of `parent`,
// opening it or bringing it up; says so through `reporter` when the guide is missing.
// Returns the window, null when nothing could be shown.
QWidget* showHelp(QWidget* parent, const QString& chapter, Reporter& reporter);

}  // namespace ovd
