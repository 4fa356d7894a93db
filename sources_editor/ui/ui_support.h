#pragma once
// Small Qt helpers of the sources editor: numbers in the user's format, key filters,
// message boxes as a Reporter, the help file and dialog placement.
#include <QObject>
#include <QString>

#include <functional>
#include <string>

#include "common/reporter.h"
#include "ui_common/message_box_reporter.h"
#include "ui_common/qt_text.h"

class QDialog;
class QWidget;
class QLineEdit;

namespace ovd {
class SettingsFile;
}

namespace ovd::sourcesui {

// A value as the user's regional format shows it (a Czech user sees "1,5").
QString toUserText(double value);
// Both "," and "." are decimal points; the rest is the lenient reader's. Sets *outOfRange
// for a number beyond the 32-bit float range.
float fromUserText(const QString& text, bool* outOfRange = nullptr);
// The text with its first user or "," decimal separator turned into ".".
std::string withPoint(const QString& text);

// Calls a function for each event of the watched object; true from it swallows the event.
class EventHook : public QObject {
public:
    using Handler = std::function<bool(QObject*, QEvent*)>;
    EventHook(QObject* watched, Handler handler);
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    Handler m_handler;
};

// Lets only these characters (and Backspace, navigation) into a box; the box selects its
// whole content when it gets the focus.
void allowKeys(QLineEdit* box, const QString& characters);
inline const QString kDigits = QStringLiteral("0123456789");

// Opens the editor's chapter of the user guide, or says that it is missing.
void openHelp(QWidget* parent);

// Places a dialog at an offset from the main window, kept on its screen. The offset is
// between the client areas (relativeOffset): a frame's title bar, unknown until a window
// manager draws it, would otherwise move the dialog up by its height at each opening.
void placeRelative(QWidget* dialog, QWidget* main, int relTop, int relLeft);
// The dialog's offset from the main window as placeRelative takes it.
QPoint relativeOffset(const QWidget* dialog, const QWidget* main);
// Runs a dialog where it was last left beside the main window (its object name is its key in
// the editor's settings) and keeps the place it is left at; returns the dialog's result.
int execAtStoredPlace(QDialog& dialog, QWidget* main, const SettingsFile& settings, Reporter& r);

}  // namespace ovd::sourcesui
