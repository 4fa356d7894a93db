#pragma once
// A main window's placement as the editors store it: left, top, width and height of its
// normal (not minimised or maximised) client area in twips, 1440 to a logical inch.
// Stored and restored the same way, so a window starts where it was left, start after start.
class QWidget;

namespace ovd {

struct TwipsPlacement {
    long left = 0, top = 0, width = 0, height = 0;
};

// Rounded both ways, so pixels -> twips -> pixels gives back the same pixels.
int twipsToPixels(long twips, int dpi);
long pixelsToTwips(int pixels, int dpi);

// The window's normal client area.
TwipsPlacement placementOf(const QWidget* window);
// Applies a stored placement (client area) to a window not yet shown, kept on a screen;
// a width or height not above 0 keeps the window's size.
void restorePlacement(QWidget* window, const TwipsPlacement&);
// Once the window manager has framed a shown window, moves it so that its frame (title bar
// and borders, unknown before) lies on the screen too; a window without a frame or already
// inside stays where it is.
void keepFrameOnScreen(QWidget* window);

}  // namespace ovd
