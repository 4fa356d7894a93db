#pragma once
// The dust panel uscPrach: density, a dust group or hand-entered particles.
#include <QWidget>

#include "editor_context.h"

class QComboBox;
class QLineEdit;
class QTreeWidget;
class QLabel;
class QGroupBox;
class QPushButton;

namespace ovd::sourcesui {

class DustPanel : public QWidget {
public:
    DustPanel(EditorContext&, QWidget* parent);
    // The dust text shown; a group the file does not hold stays as "(skupina N)".
    void setPrach(const std::string& text);
    std::string Prach() const;
    // Reloads the group combo from the current groups.
    void reloadGroups();

private:
    void groupChosen();
    void fillParticles();
    EditorContext& m_ctx;
    QComboBox* m_groups;
    QLineEdit* m_density;
    QLineEdit* m_diameter;
    QLineEdit* m_share;
    QGroupBox* m_particleFrame;
    QTreeWidget* m_list;
    QLabel* m_count;
    QPushButton* m_groupsButton;
    std::vector<DustParticle> m_particles;
    long m_group = 0;
};

}  // namespace ovd::sourcesui
