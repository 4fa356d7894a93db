#pragma once
// "Zpráva o studii…": the study report written from the main window, with a progress window
// that can cancel it, and opened in the system's viewer when done.
class QWidget;

namespace ovd {
class Project;
class Profile;
struct Services;
}  // namespace ovd

namespace ovd::mainui {

void writeStudyReportDialog(const Project&, const Profile&, const Services&, QWidget* parent);

}  // namespace ovd::mainui
