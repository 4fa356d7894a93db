#pragma once
// How the three programs open their windows: Qt's own texts in Czech, dialogs framed as
// dialogs and centred on the window they belong to, kept on the screen.
#include <QRect>

#include <initializer_list>

class QApplication;
class QHBoxLayout;
class QString;
class QWidget;

namespace ovd {

// Loads Qt's Czech translations (buttons of message boxes, file dialogs); false when the
// translation files are not installed.
bool installCzechQtTranslations(QApplication&);

// The window a message box or dialog belongs to: the open modal dialog, else the active
// window, else the visible main window (an X server without a window manager has no
// active window).
QWidget* dialogParent();

// A title and a close button, no minimise button; `maximise` for windows that show
// documents or long lists.
void setDialogFrame(QWidget* dialog, bool maximise = false);
// The same for a dialog given its object name and title.
void setDialogFrame(QWidget* dialog, const char* objectName, const QString& title, bool maximise = false);

// A row of buttons at its right end, in the order given.
QHBoxLayout* buttonRow(std::initializer_list<QWidget*> buttons);

// Moves a top-level window so that it is centred on `parent`'s window (on its screen when
// there is no parent) and lies on the screen's available area.
void centreOn(QWidget* window, QWidget* parent);

// The rectangle moved (and shrunk when larger) into `area`.
QRect keptInside(QRect rect, const QRect& area);

}  // namespace ovd
