#pragma once
// The graph window: the rose control uPollutionRose1 fed from the direction totals of
// row 12, with the toolbar of speed and class layers, the approximation and copying.
#include <QWidget>
#include <array>
#include <functional>

#include "common/reporter.h"
#include "windrose/wind_rose_editor_settings.h"
#include "windrose/wind_rose_grid.h"

class QAction;
class QToolBar;
class uPollutionRose;

namespace ovd::roseui {

class frmRuzice : public QWidget {
public:
    frmRuzice(WindRoseEditorSettings&, const WindRoseGrid&, Reporter&, QWidget* parent);

    // Redraws the control from the eight totals N..NW and the layers switched on.
    void PrekresliSchema();
    // Colours, line width and the toolbar's states from the settings.
    void applySettings();
    // The picture as PNG on the clipboard; false (reported under "Schránka") on failure.
    bool copyPicture();

    // Called when the window is shown or hidden (the main menu's check mark follows).
    std::function<void(bool)> visibilityChanged;

    uPollutionRose* uPollutionRose1 = nullptr;
    QToolBar* Toolbar1 = nullptr;
    std::array<QAction*, 3> speedButtons{};
    std::array<QAction*, 5> classButtons{};
    QAction* APROXIMATION = nullptr;
    QAction* CLP = nullptr;

protected:
    void showEvent(QShowEvent*) override;
    void hideEvent(QHideEvent*) override;

private:
    WindRoseEditorSettings& m_settings;
    const WindRoseGrid& m_grid;
    Reporter& m_reporter;
};

}  // namespace ovd::roseui
