#include "window_placement.h"

#include <QGuiApplication>
#include <QPointer>
#include <QScreen>
#include <QTimer>
#include <QWidget>

#include <cmath>

#include "dialogs.h"

namespace ovd {

int twipsToPixels(long twips, int dpi)
{
    return static_cast<int>(std::lround(static_cast<double>(twips) * (dpi > 0 ? dpi : 96) / 1440.0));
}

long pixelsToTwips(int pixels, int dpi)
{
    return std::lround(static_cast<double>(pixels) * 1440.0 / (dpi > 0 ? dpi : 96));
}

TwipsPlacement placementOf(const QWidget* window)
{
    // Client area both ways: a window moved by its frame would creep down by its title bar.
    const QRect r = window->isMaximized() || window->isMinimized() || window->isFullScreen() ? window->normalGeometry()
                                                                                             : window->geometry();
    const int dpi = window->logicalDpiX();
    return {pixelsToTwips(r.x(), dpi), pixelsToTwips(r.y(), dpi), pixelsToTwips(r.width(), dpi),
            pixelsToTwips(r.height(), dpi)};
}

void keepFrameOnScreen(QWidget* window)
{
    // The frame is known when the window manager has reparented the window: shortly after
    // show(), and again at each later move of the window, so the check runs after the first.
    QPointer<QWidget> guarded(window);
    QTimer::singleShot(150, window, [guarded] {
        if (!guarded || !guarded->isVisible() || guarded->isMaximized() || guarded->isFullScreen())
            return;
        QScreen* screen = guarded->screen();
        if (!screen)
            return;
        const QRect frame = guarded->frameGeometry();
        const QRect kept = keptInside(frame, screen->availableGeometry());
        if (kept.topLeft() != frame.topLeft())
            guarded->move(guarded->pos() + (kept.topLeft() - frame.topLeft()));
    });
}

void restorePlacement(QWidget* window, const TwipsPlacement& p)
{
    const int dpi = window->logicalDpiX();
    QRect r(twipsToPixels(p.left, dpi), twipsToPixels(p.top, dpi), window->width(), window->height());
    if (p.width > 0 && p.height > 0)
        r.setSize(QSize(twipsToPixels(p.width, dpi), twipsToPixels(p.height, dpi)));
    QScreen* screen = QGuiApplication::screenAt(r.center());
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    if (screen)
        r = keptInside(r, screen->availableGeometry());
    window->setGeometry(r);
}

}  // namespace ovd
