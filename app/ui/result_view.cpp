#include "result_view.h"

#include <QAbstractTableModel>
#include <QApplication>
#include <QHeaderView>
#include <QIcon>
#include <QLabel>
#include <QSplitter>
#include <QStyle>
#include <QTimer>
#include <QTreeView>
#include <QVBoxLayout>

#include <algorithm>

#include "ui_common/qt_text.h"

namespace ovd::mainui {

namespace {

// A read-only model over one table. Cells are converted when drawn, so a table of many
// thousand rows costs no more than its strings.
class ResultModel : public QAbstractTableModel {
public:
    ResultModel(ResultTable table, QObject* parent)
        : QAbstractTableModel(parent)
        , m_table(std::move(table))
    {
        QStyle* style = QApplication::style();
        m_icons[static_cast<int>(RowMark::Correct)] = style->standardIcon(QStyle::SP_DialogApplyButton);
        m_icons[static_cast<int>(RowMark::Comment)] = style->standardIcon(QStyle::SP_MessageBoxInformation);
        m_icons[static_cast<int>(RowMark::Warning)] = style->standardIcon(QStyle::SP_MessageBoxWarning);
        m_icons[static_cast<int>(RowMark::Error)] = style->standardIcon(QStyle::SP_MessageBoxCritical);
    }

    const ResultTable& table() const { return m_table; }

    int rowCount(const QModelIndex& parent = {}) const override
    {
        return parent.isValid() ? 0 : static_cast<int>(m_table.rows.size());
    }
    int columnCount(const QModelIndex& parent = {}) const override
    {
        return parent.isValid() ? 0 : std::max(1, static_cast<int>(m_table.columns.size()));
    }

    QVariant data(const QModelIndex& index, int role) const override
    {
        if (!index.isValid() || index.row() >= rowCount())
            return {};
        const ResultRow& row = m_table.rows[static_cast<std::size_t>(index.row())];
        if (role == Qt::DisplayRole) {
            auto c = static_cast<std::size_t>(index.column());
            return c < row.cells.size() ? qs(row.cells[c]) : QString();
        }
        if (role == Qt::DecorationRole && index.column() == 0 && row.mark != RowMark::None)
            return m_icons[static_cast<int>(row.mark)];
        if (role == kRowMarkRole)
            return static_cast<int>(row.mark);
        return {};
    }

    QVariant headerData(int section, Qt::Orientation orientation, int role) const override
    {
        if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section >= 0 &&
            static_cast<std::size_t>(section) < m_table.columns.size())
            return qs(m_table.columns[static_cast<std::size_t>(section)].title);
        return QAbstractTableModel::headerData(section, orientation, role);
    }

private:
    ResultTable m_table;
    QIcon m_icons[5];
};

const ResultModel* modelOf(const QTreeView* view)
{
    return static_cast<const ResultModel*>(view->model());
}

}  // namespace

ResultView::ResultView(QWidget* parent)
    : QWidget(parent)
    , m_splitter(new QSplitter(Qt::Vertical, this))
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    m_splitter->setChildrenCollapsible(false);
    layout->addWidget(m_splitter);
    setMinimumSize(560, 240);
}

void ResultView::showEmpty(const QStringList& captions)
{
    std::vector<ResultTable> tables;
    for (const QString& c : captions)
        tables.push_back({c.toStdString(), {}, {}});
    setTables(std::move(tables));
}

void ResultView::setTables(std::vector<ResultTable> tables)
{
    for (QTreeView* v : m_views)
        delete v->parentWidget();
    m_views.clear();
    // The widths are given in the units of a 96 dpi screen.
    const double scale = logicalDpiX() / 96.0;
    for (ResultTable& t : tables) {
        auto* holder = new QWidget(m_splitter);
        auto* layout = new QVBoxLayout(holder);
        layout->setContentsMargins(0, 0, 0, 0);
        auto* caption = new QLabel(qs(t.title), holder);
        caption->setObjectName("caption");
        auto* view = new QTreeView(holder);
        view->setRootIsDecorated(false);
        view->setUniformRowHeights(true);
        view->setAlternatingRowColors(true);
        view->setSelectionBehavior(QAbstractItemView::SelectRows);
        view->setEditTriggers(QAbstractItemView::NoEditTriggers);
        view->setToolTip(caption->text());
        const bool header = t.hasHeader();
        std::vector<int> widths;
        for (const ResultColumn& c : t.columns)
            widths.push_back(c.width);
        view->setModel(new ResultModel(std::move(t), view));
        view->setHeaderHidden(!header);
        view->header()->setStretchLastSection(true);
        // At least the given width, wider where the content needs it (DBF values are
        // wider than their field names).
        for (std::size_t i = 0; i < widths.size(); ++i) {
            const int column = static_cast<int>(i);
            const int given = widths[i] > 0 ? static_cast<int>(widths[i] * scale) : 0;
            const int needed = std::max(static_cast<QAbstractItemView*>(view)->sizeHintForColumn(column),
                                        view->header()->sectionSizeHint(column));
            view->setColumnWidth(column, std::max(given, needed));
        }
        layout->addWidget(caption);
        layout->addWidget(view, 1);
        m_splitter->addWidget(holder);
        // Tables take more of the height than plain lists of lines.
        m_splitter->setStretchFactor(m_splitter->count() - 1, header ? 3 : 1);
        m_views.push_back(view);
    }
    // The last list ends with the verdict of a check: show it, not the first lines.
    if (m_views.size() > 1 && !modelOf(m_views.back())->table().hasHeader()) {
        QTreeView* last = m_views.back();
        last->scrollToBottom();
        QTimer::singleShot(0, last, [last] { last->scrollToBottom(); });  // once it has its height
    }
}

QSize ResultView::sizeHint() const
{
    const QSize hint = QWidget::sizeHint();
    return {hint.width(), std::min(hint.height(), 460)};
}

QString ResultView::caption(int i) const
{
    return qs(modelOf(listView(i))->table().title);
}

QString ResultView::text() const
{
    QString out;
    for (const QTreeView* v : m_views) {
        const ResultTable& t = modelOf(v)->table();
        out += qs(t.title) + '\n';
        if (t.hasHeader()) {
            QStringList titles;
            for (const ResultColumn& c : t.columns)
                titles << qs(c.title);
            out += titles.join('\t') + '\n';
        }
        for (const ResultRow& row : t.rows)
            out += qs(joinCells(row.cells)) + '\n';
    }
    return out;
}

}  // namespace ovd::mainui
