#include "pressure_dialog.h"

#include <QDialog>
#include <QEvent>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>

#include "ui_common/dialogs.h"
#include "ui_support.h"

namespace ovd::sourcesui {

std::optional<float> askPressure(float current, QWidget* anchor)
{
    QDialog dlg(anchor ? anchor->window() : nullptr);
    setDialogFrame(&dlg, "frmTlak", QStringLiteral("Nastavení tlaku vzduchu"));
    auto* g = new QGridLayout(&dlg);
    auto* box = new QLineEdit(toUserText(current));
    box->setObjectName("txtTlak");
    allowKeys(box, kDigits + ".,");
    new EventHook(box, [box](QObject*, QEvent* e) {
        if (e->type() == QEvent::MouseButtonDblClick) {
            box->setText(QStringLiteral("101325"));
            return true;
        }
        return false;
    });
    g->addWidget(new QLabel(QStringLiteral("Tlak vzduchu 'p':")), 0, 0);
    g->addWidget(box, 0, 1);
    g->addWidget(new QLabel(QStringLiteral("[Pa]")), 0, 2);
    auto* ok = new QPushButton(QStringLiteral("OK"));
    ok->setDefault(true);
    auto* cancel = new QPushButton(QStringLiteral("&Storno"));
    g->addWidget(ok, 1, 1);
    g->addWidget(cancel, 1, 2);
    std::optional<float> result;
    QObject::connect(ok, &QPushButton::clicked, &dlg, [&] {
        bool out = false;
        float p = fromUserText(box->text(), &out);
        if (out) {
            QMessageBox::warning(&dlg, dlg.windowTitle(),
                                 QStringLiteral("Hodnota pole „Tlak vzduchu 'p'“ je mimo povolený rozsah."));
            return;
        }
        result = p;
        dlg.accept();
    });
    QObject::connect(cancel, &QPushButton::clicked, &dlg, &QDialog::reject);
    if (anchor)
        dlg.move(anchor->mapToGlobal(QPoint(0, anchor->height())));
    dlg.exec();
    return result;
}

}  // namespace ovd::sourcesui
