#pragma once
// xovrruz's main window: the table Tabulka with its in-cell editor EditBox, the comment
// Komentar, the menus, and the graph, settings and protocol windows it opens.
#include <QMainWindow>
#include <QTemporaryFile>
#include <functional>
#include <memory>

#include "common/reporter.h"
#include "windrose/wind_rose_document.h"
#include "windrose/wind_rose_editor_settings.h"

class QAction;
class QLineEdit;
class QTableWidget;

namespace ovd::roseui {

class frmProtokol;
class frmRuzice;
class CellEditor;

struct EditorArguments {
    std::string file;  // positional item "0"
    std::string ini;   // the project file after "/ini"
    bool bound = false;
    // The program's arguments (without the program) joined and parsed as one line.
    static EditorArguments parse(const std::vector<std::string>& args);
};

inline constexpr std::string_view kApplicationTitle = "Větrná růžice";
inline constexpr std::string_view kRoseFileFilter = "Datové soubory (*.txt);;Všechny soubory (*.*)";

class ovrdruz : public QMainWindow {
public:
    // reporter: where messages and questions go (message boxes when null);
    // settingsPath: the per-user settings file (the default place when empty).
    ovrdruz(const EditorArguments&, Reporter* reporter = nullptr, std::string settingsPath = {});
    ~ovrdruz() override;

    // Shows the window, and the graph window when the settings say so.
    void showWithGraph();
    WindRoseDocument& document() { return m_document; }
    WindRoseEditorSettings& settings() { return m_settings; }
    frmRuzice* graph() { return m_graph; }
    // The save dialog; tests replace it.
    void setSaveTargetChooser(std::function<std::string()> chooser) { m_chooseSaveTarget = std::move(chooser); }

    bool saveFile(bool safeSave);
    bool openFile(const std::string& path);
    void distribute();
    // Shows the in-cell editor over the current cell, starting with the given text
    // (selected when replaceAll, so that typing replaces it).
    void openEditBox(const QString& typed, bool replaceAll = false);
    void commitEditBox();
    void abandonEditBox();
    // Writes the RTF protocol into its temporary file; the path, empty on failure.
    QString writeProtocol();
    // The protocol window over a freshly written protocol (not yet shown).
    std::unique_ptr<frmProtokol> protocolWindow();
    void applySettings();

    QTableWidget* Tabulka = nullptr;
    CellEditor* EditBox = nullptr;
    QLineEdit* Komentar = nullptr;

protected:
    void closeEvent(QCloseEvent*) override;
    bool eventFilter(QObject*, QEvent*) override;

private:
    void buildMenus();
    void buildTable();
    void showAll();  // every cell from the document
    void showCell(int row, int column);
    void showTotals();  // sums, grand total and its colour
    void redraw();      // the graph, unless a load or distribution is running
    void updateTitle();
    void cellsEntered(const std::vector<std::pair<int, int>>& cells);
    void storeSettings();
    void showProtocolWindow();
    void showSettingsWindow();
    void openDialog();
    void openHelp();
    std::string chooseSaveTarget();
    char decimalSeparator() const;

    EditorArguments m_arguments;
    WindRoseDocument m_document;
    WindRoseEditorSettings m_settings;
    std::string m_settingsPath;
    std::unique_ptr<Reporter> m_ownReporter;
    Reporter* m_reporter;
    frmRuzice* m_graph = nullptr;
    std::unique_ptr<QTemporaryFile> m_protocol;
    std::function<std::string()> m_chooseSaveTarget;
    bool m_recount = true;
    bool m_closing = false;
};

}  // namespace ovd::roseui
