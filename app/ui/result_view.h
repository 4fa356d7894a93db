#pragma once
// The list views of the table tools: one list per table the tool returns, each under its
// caption, with the table's column titles and widths and an icon per row (correct,
// comment, warning, error). Every table tool's dialog shows its rows through this one class.
#include <QStringList>
#include <QWidget>

#include <vector>

#include "app/result_table.h"

class QSplitter;
class QTreeView;

namespace ovd::mainui {

// The item data role that holds a row's RowMark (as int) in every list's model.
inline constexpr int kRowMarkRole = Qt::UserRole;

class ResultView : public QWidget {
public:
    explicit ResultView(QWidget* parent = nullptr);

    // Empty lists under these captions: what the dialog shows before a tool has run.
    void showEmpty(const QStringList& captions);
    void setTables(std::vector<ResultTable>);

    int tableCount() const { return static_cast<int>(m_views.size()); }
    QTreeView* listView(int i) const { return m_views.at(static_cast<std::size_t>(i)); }
    QString caption(int i) const;
    // Every list as its caption and one tab-separated line per row.
    QString text() const;
    // No taller than a laptop screen leaves for it; the dialog can be made larger.
    QSize sizeHint() const override;

private:
    QSplitter* m_splitter;
    std::vector<QTreeView*> m_views;
};

}  // namespace ovd::mainui
