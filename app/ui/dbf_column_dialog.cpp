#include "dbf_column_dialog.h"
#include "ui_common/dialogs.h"

#include <QDialog>
#include <QGridLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

namespace ovd::mainui {

namespace {

// Moves the highlighted entry; the highlight stays on the same row, or the last one.
void moveCurrent(QListWidget* from, QListWidget* to)
{
    int row = from->currentRow();
    if (row < 0)
        return;
    to->addItem(from->takeItem(row));
    if (from->count())
        from->setCurrentRow(std::min(row, from->count() - 1));
}

void moveAll(QListWidget* from, QListWidget* to)
{
    while (from->count())
        to->addItem(from->takeItem(0));
}

}  // namespace

std::optional<std::vector<int>> chooseColumns(const std::vector<std::string>& labels, QWidget* parent)
{
    QDialog dialog(parent);
    setDialogFrame(&dialog, "dbfColumns", QString::fromUtf8("Výběr sloupců pro zápis do textového souboru"));
    auto* grid = new QGridLayout(&dialog);
    auto* found = new QListWidget(&dialog);
    auto* chosen = new QListWidget(&dialog);
    found->setObjectName("found");
    chosen->setObjectName("chosen");
    for (QListWidget* list : {found, chosen})
        list->setSortingEnabled(true);
    for (const std::string& l : labels)
        found->addItem(QString::fromStdString(l));
    grid->addWidget(new QLabel(QString::fromUtf8("Nalezené sloupce :"), &dialog), 0, 0);
    grid->addWidget(new QLabel(QString::fromUtf8("Vybrané sloupce :"), &dialog), 0, 2);
    grid->addWidget(found, 1, 0);
    grid->addWidget(chosen, 1, 2);

    auto* middle = new QVBoxLayout;
    struct Move {
        const char* text;
        const char* tip;
        void (*act)(QListWidget*, QListWidget*);
        bool forward;
    };
    const Move moves[] = {
        {">", "Přidání vybraného sloupce do seznamu", moveCurrent, true},
        {"<", "Odstranění vybraného sloupce ze seznamu", moveCurrent, false},
        {">>", "Přidání všech sloupců do seznamu", moveAll, true},
        {"<<", "Odstranění všech sloupců ze seznamu", moveAll, false},
    };
    for (const Move& m : moves) {
        auto* b = new QPushButton(QString::fromUtf8(m.text), &dialog);
        b->setToolTip(QString::fromUtf8(m.tip));
        QObject::connect(b, &QPushButton::clicked, &dialog,
                         [=] { m.forward ? m.act(found, chosen) : m.act(chosen, found); });
        middle->addWidget(b);
    }
    middle->addStretch(1);
    grid->addLayout(middle, 1, 1);

    auto* ok = new QPushButton(QString::fromUtf8("Pokračuj"), &dialog);
    ok->setToolTip(QString::fromUtf8("Potvrzení výběru sloupců"));
    auto* cancel = new QPushButton(QString::fromUtf8("Ukonči"), &dialog);
    QObject::connect(ok, &QPushButton::clicked, &dialog, &QDialog::accept);
    QObject::connect(cancel, &QPushButton::clicked, &dialog, &QDialog::reject);
    auto* buttons = buttonRow({ok, cancel});
    grid->addLayout(buttons, 2, 0, 1, 3);

    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    // The field number leads each label, so it identifies the field whatever the order.
    std::vector<int> columns;
    for (int i = 0; i < chosen->count(); ++i)
        columns.push_back(chosen->item(i)->text().left(2).toInt());
    std::sort(columns.begin(), columns.end());
    return columns;
}

}  // namespace ovd::mainui
