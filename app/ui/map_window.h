#pragma once
// "Mapa výsledků": a study's results on a map. The table, column, class breaks and layers
// are chosen here and remembered in the project's section "Mapa"; a click on a point shows
// its table row, and the view is exported to PNG, SVG or PDF.
#include <QMainWindow>
#include <QTimer>
#include <set>
#include <memory>

#include "map_settings/map_settings.h"
#include "common/project.h"
#include "map/map_export.h"
#include "map_background.h"
#include "prompter_reporter.h"

class QAction;
class QIcon;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableWidget;

namespace ovd::mainui {

class MapCanvas;

// The map's icon in the menu and tool bar: coloured points on a map sheet.
QIcon mapIcon();

class MapWindow : public QMainWindow {
public:
    // Messages go to message boxes over the window, or to `reporter` when one is given.
    // Its messages go to `reporter`, else through the program's prompter (`services`).
    MapWindow(const Project& project, const Services& services, QWidget* parent = nullptr,
              Reporter* reporter = nullptr);
    ~MapWindow() override;

    // Builds the map from the current choices and stores them in the project; false (and the
    // previous map kept) when the table cannot be drawn.
    bool reload();
    void setTable(const QString& path);
    void setColumn(const QString& name);
    // "" equal steps, "limity" the limit values, else levels "1;2;5".
    void setLevels(const QString& text);
    void setLayerShown(MapLayer, bool);
    // The background (a file or a service, empty for none), its tile cache and attribution.
    void setBackground(const QString& source, const QString& cacheFolder, const QString& credit);
    // The current view at this size (pixels) and resolution, into a file named by its format.
    bool exportView(const QString& path, QSize size, int dpi);
    // The current view on a whole page at this resolution.
    bool exportPage(const QString& path, MapPage page, bool landscape, int dpi);

    MapCanvas* canvas() const { return m_canvas; }
    // While the background is being read (off the GUI thread); Esc or "Přerušit" gives it up.
    bool backgroundReading() const { return m_reads.reading(); }
    void cancelBackground();
    const MapSettings& settings() const { return m_settings; }
    // The row of the last point clicked: field names and values.
    QTableWidget* rowTable() const { return m_row; }

private:
    bool writeExport(const QString& path, const MapPicture&);
    void buildControls();
    void buildChoiceBar();
    void connectChoices();
    void buildLayerBar();
    void buildRecordDock();
    void fillChoices();
    void showClasses(const std::string& column);
    void showRow(std::optional<std::size_t> point);
    void showCursor(double x, double y);
    void chooseTable();
    void chooseBackground();
    void exportDialog();
    void storeSettings();
    void takeBackground(MapModel&);
    void readBackground(const StudyBox& box, std::optional<StudyBox> shown);
    void backgroundRead(MapModel&& part);
    void viewMoved();
    void showReading(bool);

    Project m_project;
    PrompterReporter m_boxes;  // through the prompter, as the dialogs' boxes
    Reporter& m_reporter;
    MapSettings m_settings;
    MapCanvas* m_canvas = nullptr;
    QComboBox* m_table = nullptr;
    QComboBox* m_column = nullptr;
    QComboBox* m_breaks = nullptr;
    QLineEdit* m_levels = nullptr;
    QTableWidget* m_row = nullptr;
    QLabel* m_cursor = nullptr;
    std::array<QAction*, kMapLayerCount> m_layerActions{};
    std::vector<std::string> m_warnings;  // of the map shown
    std::string m_backgroundSource;       // what the background of the map shown was read from
    BackgroundReads m_reads;
    QTimer m_viewSettled;                // a while after the view's last change
    QLabel* m_readingLabel = nullptr;
    QPushButton* m_stopReading = nullptr;
    bool m_backgroundGivenUp = false;        // cancelled: not read again until chosen or switched on
    std::set<std::string> m_saidBackground;  // the background's warnings said for its source
};

}  // namespace ovd::mainui
