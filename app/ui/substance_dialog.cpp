#include "substance_dialog.h"

#include <QButtonGroup>
#include <QDialog>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "common/numbers.h"
#include "ui_common/dialogs.h"

namespace ovd::mainui {

std::optional<Substance> askNewSubstance(QWidget* parent)
{
    QDialog dialog(parent);
    dialog.setObjectName("newSubstance");
    dialog.setWindowTitle(QString::fromUtf8("Nový záznam s údaji o znečišťující látce"));
    setDialogFrame(&dialog);
    // The title is long: the window is made wide enough to show it whole.
    dialog.setMinimumWidth(dialog.fontMetrics().horizontalAdvance(dialog.windowTitle()) + 200);
    auto* top = new QVBoxLayout(&dialog);
    auto* form = new QFormLayout;
    auto* name = new QLineEdit(&dialog);
    name->setObjectName("name");
    form->addRow(QString::fromUtf8("Název látky :"), name);
    top->addLayout(form);

    auto* limitsBox = new QGroupBox(QString::fromUtf8("Koncentrace pro dobu překročení (µg / m3)"), &dialog);
    auto* limitsForm = new QFormLayout(limitsBox);
    QLineEdit* limits[3];
    for (int i = 0; i < 3; ++i) {
        limits[i] = new QLineEdit("0", limitsBox);
        limits[i]->setObjectName(QString("limit%1").arg(i + 1));
        limitsForm->addRow(QString::fromUtf8("Koncentrace %1 :").arg(i + 1), limits[i]);
    }
    top->addWidget(limitsBox);

    auto* classBox = new QGroupBox(QString::fromUtf8("Třída látky"), &dialog);
    auto* classRow = new QHBoxLayout(classBox);
    auto* classes = new QButtonGroup(&dialog);
    const char* names[] = {"I - 20 hodin", "II - 6 dní", "III - 2 roky"};
    for (int i = 0; i < 3; ++i) {
        auto* r = new QRadioButton(QString::fromUtf8(names[i]), classBox);
        r->setObjectName(QString("class%1").arg(i + 1));
        classes->addButton(r, i);
        classRow->addWidget(r);
    }
    classes->button(0)->setChecked(true);
    top->addWidget(classBox);

    auto* insert = new QPushButton(QString::fromUtf8("Vložit"), &dialog);
    insert->setObjectName("insert");
    auto* close = new QPushButton(QString::fromUtf8("Ukonči"), &dialog);
    QObject::connect(insert, &QPushButton::clicked, &dialog, &QDialog::accept);
    QObject::connect(close, &QPushButton::clicked, &dialog, &QDialog::reject);
    auto* buttons = buttonRow({insert, close});
    top->addLayout(buttons);

    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    Substance s;
    s.name = name->text().trimmed().toStdString();
    s.substanceClass = classes->checkedId() + 1;
    for (int i = 0; i < 3; ++i) {
        // Both decimal separators are accepted; what is not a number counts as 0.
        std::string text = limits[i]->text().trimmed().replace(',', '.').toStdString();
        s.limits[static_cast<std::size_t>(i)] = parseDouble(text).value_or(0.0);
    }
    return s;
}

}  // namespace ovd::mainui
