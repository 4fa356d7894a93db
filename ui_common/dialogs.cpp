#include "dialogs.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QLibraryInfo>
#include <QLocale>
#include <QMainWindow>
#include <QScreen>
#include <QTranslator>
#include <QWidget>

#include <algorithm>

namespace ovd {

bool installCzechQtTranslations(QApplication& app)
{
    auto* translator = new QTranslator(&app);
    const QLocale czech(QLocale::Czech, QLocale::CzechRepublic);
    for (const QString& folder :
         {QLibraryInfo::path(QLibraryInfo::TranslationsPath), QStringLiteral("/usr/share/qt6/translations")}) {
        if (translator->load(czech, QStringLiteral("qtbase"), QStringLiteral("_"), folder)) {
            QApplication::installTranslator(translator);
            return true;
        }
    }
    delete translator;
    return false;
}

QWidget* dialogParent()
{
    if (QWidget* modal = QApplication::activeModalWidget())
        return modal;
    if (QWidget* active = QApplication::activeWindow())
        return active;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (qobject_cast<QMainWindow*>(w) && w->isVisible())
            return w;
    return nullptr;
}

void setDialogFrame(QWidget* dialog, bool maximise)
{
    Qt::WindowFlags flags = Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
        Qt::WindowCloseButtonHint;
    if (maximise)
        flags |= Qt::WindowMaximizeButtonHint;
    dialog->setWindowFlags(flags);
}

QRect keptInside(QRect rect, const QRect& area)
{
    if (area.isEmpty())
        return rect;
    rect.setWidth(std::min(rect.width(), area.width()));
    rect.setHeight(std::min(rect.height(), area.height()));
    rect.moveLeft(std::clamp(rect.left(), area.left(), area.right() - rect.width() + 1));
    rect.moveTop(std::clamp(rect.top(), area.top(), area.bottom() - rect.height() + 1));
    return rect;
}

void centreOn(QWidget* window, QWidget* parent)
{
    QWidget* anchor = parent ? parent->window() : nullptr;
    QScreen* screen = anchor && anchor->isVisible() ? anchor->screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect area = screen->availableGeometry();
    QSize size = window->size();
    if (!window->testAttribute(Qt::WA_Resized))
        size = window->sizeHint().expandedTo(window->minimumSize());
    const QRect around = anchor && anchor->isVisible() ? anchor->frameGeometry() : area;
    QRect r(QPoint(0, 0), size);
    r.moveCenter(around.center());
    window->move(keptInside(r, area).topLeft());
}

QHBoxLayout* buttonRow(std::initializer_list<QWidget*> buttons)
{
    auto* row = new QHBoxLayout;
    row->addStretch(1);
    for (QWidget* b : buttons)
        row->addWidget(b);
    return row;
}

void setDialogFrame(QWidget* dialog, const char* objectName, const QString& title, bool maximise)
{
    dialog->setObjectName(objectName);
    dialog->setWindowTitle(title);
    setDialogFrame(dialog, maximise);
}

}  // namespace ovd
