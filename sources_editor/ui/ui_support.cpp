#include "ui_support.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDialog>
#include <QEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QLocale>
#include <QMessageBox>
#include <QScreen>
#include <QTimer>

#include "sources_editor/editor_settings.h"
#include "sources_editor/real_text.h"
#include "ui_common/help_viewer.h"

namespace ovd::sourcesui {

QString toUserText(double value)
{
    QLocale locale;
    locale.setNumberOptions(QLocale::OmitGroupSeparator);  // read back by the lenient reader
    return locale.toString(value, 'g', 7);
}

std::string withPoint(const QString& text)
{
    QString t = text.trimmed();
    const QString sep = QLocale().decimalPoint();
    qsizetype at = t.indexOf(sep);
    if (at < 0)
        at = t.indexOf(',');
    if (at >= 0)
        t.replace(at, sep.size() && t.mid(at, sep.size()) == sep ? sep.size() : 1, ".");
    return t.toStdString();
}

float fromUserText(const QString& text, bool* outOfRange)
{
    return readLenientFloat(withPoint(text), outOfRange);
}

EventHook::EventHook(QObject* watched, Handler handler)
    : QObject(watched)
    , m_handler(std::move(handler))
{
    watched->installEventFilter(this);
}

bool EventHook::eventFilter(QObject* watched, QEvent* event)
{
    return m_handler(watched, event);
}

void allowKeys(QLineEdit* box, const QString& characters)
{
    new EventHook(box, [box, characters](QObject*, QEvent* e) {
        if (e->type() == QEvent::FocusIn) {
            QTimer::singleShot(0, box, [box] { box->selectAll(); });
            return false;
        }
        if (e->type() != QEvent::KeyPress)
            return false;
        auto* k = static_cast<QKeyEvent*>(e);
        const QString t = k->text();
        if (t.isEmpty() || k->key() == Qt::Key_Backspace || t.at(0).unicode() < 32 ||
            (k->modifiers() & Qt::ControlModifier))
            return false;  // navigation, Backspace, Enter, shortcuts
        return !characters.contains(t.at(0));
    });
}

void openHelp(QWidget* parent)
{
    MessageBoxReporter boxes(parent);
    showHelp(parent ? parent->window() : nullptr, QStringLiteral("guide/xovrzdr.md"), boxes);
}

void placeRelative(QWidget* dialog, QWidget* main, int relTop, int relLeft)
{
    if (!main)
        return;
    QPoint pos(main->geometry().x() + relLeft, main->geometry().y() + relTop);
    const QSize size = dialog->testAttribute(Qt::WA_Resized) ? dialog->size() : dialog->sizeHint();
    if (QScreen* screen = main->screen()) {
        QRect area = screen->availableGeometry();
        pos.setX(std::clamp(pos.x(), area.left(), std::max(area.left(), area.right() - size.width())));
        pos.setY(std::clamp(pos.y(), area.top(), std::max(area.top(), area.bottom() - size.height())));
    }
    dialog->setGeometry(QRect(pos, size));
}

QPoint relativeOffset(const QWidget* dialog, const QWidget* main)
{
    return dialog->geometry().topLeft() - main->geometry().topLeft();
}

int execAtStoredPlace(QDialog& dialog, QWidget* main, const SettingsFile& settings, Reporter& r)
{
    const std::string name = dialog.objectName().toStdString();
    WindowGeometry g = loadSubFormGeometry(settings, name);
    if (g.stored && main)
        placeRelative(&dialog, main, static_cast<int>(g.top), static_cast<int>(g.left));
    const int result = dialog.exec();
    if (main) {
        const QPoint offset = relativeOffset(&dialog, main);
        g.top = offset.y();
        g.left = offset.x();
        saveSubFormGeometry(settings, name, g, false, r);
    }
    return result;
}

}  // namespace ovd::sourcesui
