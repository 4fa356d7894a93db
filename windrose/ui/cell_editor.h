#pragma once
// EditBox, the in-cell editor of the table: Enter commits, Escape abandons, leaving it
// hides it.
#include <QKeyEvent>
#include <QLineEdit>
#include <functional>

namespace ovd::roseui {

class CellEditor : public QLineEdit {
public:
    explicit CellEditor(QWidget* parent)
        : QLineEdit(parent)
    {
        hide();
    }

    std::function<void()> committed;
    std::function<void()> abandoned;

protected:
    void keyPressEvent(QKeyEvent* e) override
    {
        if (e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) {
            if (committed)
                committed();
            return;
        }
        if (e->key() == Qt::Key_Escape) {
            if (abandoned)
                abandoned();
            return;
        }
        QLineEdit::keyPressEvent(e);
    }
    void focusOutEvent(QFocusEvent* e) override
    {
        QLineEdit::focusOutEvent(e);
        hide();
    }
};

}  // namespace ovd::roseui
