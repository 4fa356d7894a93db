#pragma once
// frmOVRDZDR: the sources editor's main window with the list of sources and its commands.
#include <QMainWindow>

#include <memory>
#include <string>
#include <vector>

#include "editor_context.h"
#include "sources_editor/source_files.h"
#include "ui_support.h"

class QLabel;
class QLineEdit;
class QMenu;
class QProgressBar;
class QTreeWidget;

namespace ovd::sourcesui {

class MainWindow : public QMainWindow {
public:
    explicit MainWindow(std::string settingsPath);
    ~MainWindow() override;

    // Start-up from the program's arguments (joined back into one command line).
    void start(const std::vector<std::string>& args);
    // Messages and questions go here instead of message boxes (tests).
    void setReporter(Reporter* r) { m_ctx.reporter = r ? r : &m_boxes; }
    EditorContext& context() { return m_ctx; }
    QTreeWidget* list() const { return m_list; }

    // The commands, as the menus and keys run them.
    void newSource(int kind);
    void editFocused();
    void deleteSelected();
    void checkDuplicates(bool fromMenu);
    bool save(bool all);
    void updateMenus();

protected:
    void closeEvent(QCloseEvent*) override;

private:
    void buildCentral();
    void buildMenus();
    void connectList();
    void editOptionsAndMenus();
    void deleteAll();
    void showAbout();
    void computeMiddlePointsOfSelected();
    void load(const SourcePaths&, bool append, const std::string& groupsPath);
    void openCommand();
    void rebuildList();
    void addItem(std::size_t index, bool selected);
    void updateCount();
    void setStatus(const QString& text);
    std::vector<cZdroje*> selectedSources() const;
    std::vector<const cZdroje*> sourcesInViewOrder(bool selectedOnly) const;
    void selectKind(int kind);
    void storeSettings();
    bool handleListEvent(QEvent*);

    EditorContext m_ctx;
    MessageBoxReporter m_boxes;
    QTreeWidget* m_list;
    EventHook* m_listHook = nullptr;
    EventHook* m_viewportHook = nullptr;
    QLineEdit* m_comment;
    QLabel* m_count;
    QLabel* m_status;
    QProgressBar* m_progress;
    QMenu *m_sourcesMenu, *m_newMenu, *m_computeMenu;
    int m_sortColumn = -1;
    bool m_sortAscending = true;
    bool m_closing = false;
};

}  // namespace ovd::sourcesui
