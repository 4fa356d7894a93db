#include "file_dialogs.h"

#include <QCheckBox>
#include <QDialog>
#include <QDir>
#include <QEvent>
#include <QFileDialog>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>

#include "ui_common/dialogs.h"
#include "ui_support.h"

namespace ovd::sourcesui {

namespace {

const QString kFilter = QStringLiteral("Datové soubory OVARDIX - Zdroje (*.txt);;Všechny soubory (*)");
const char* const kOpenTitles[] = {"Otevři soubor s body", "Otevři soubor s popisem", "Otevři soubor s prachem"};
const char* const kSaveTitles[] = {"Ulož soubor s body", "Ulož soubor s popisem", "Ulož soubor s prachem"};

// The three rows of a file dialog.
class FileRows {
public:
    FileRows(QDialog& dlg, QGridLayout* grid, EditorContext& ctx, bool save, const SourcePaths& paths)
        : m_ctx(ctx)
    {
        const char* labels[] = {"Soubor se zdroji znečištění (body)", "Soubor s popisem zdrojů znečištění",
                                "Soubor s prachem"};
        const std::string* values[] = {&paths.points, &paths.description, &paths.dust};
        for (int i = 0; i < 3; ++i) {
            m_label[i] = new QLabel(QString::fromUtf8(save && i == 1       ? "Popis:"
                                                          : save && i == 2 ? "Prach:"
                                                                           : labels[i]));
            m_box[i] = new QLineEdit(qs(*values[i]));
            m_box[i]->setObjectName(QStringLiteral("txtFile%1").arg(i + 1));
            m_browse[i] = new QToolButton;
            m_browse[i]->setText(QStringLiteral("..."));
            m_browse[i]->setToolTip(QStringLiteral("Tabulka souborů"));
            grid->addWidget(m_label[i], 2 * i, 0, 1, 2);
            grid->addWidget(m_box[i], 2 * i + 1, 0);
            grid->addWidget(m_browse[i], 2 * i + 1, 1);
            QObject::connect(m_browse[i], &QToolButton::clicked, &dlg, [this, i, save, &dlg] {
                const QString start = qs(lastDialogPath(m_ctx.settingsFile, i + 1));
                const QString title = QString::fromUtf8(save ? kSaveTitles[i] : kOpenTitles[i]);
                QString path = save
                    ? QFileDialog::getSaveFileName(&dlg, title, start.isEmpty() ? QDir::currentPath() : start, kFilter)
                    : QFileDialog::getOpenFileName(&dlg, title, start.isEmpty() ? QDir::currentPath() : start, kFilter);
                if (path.isEmpty())
                    return;
                m_box[i]->setText(path);
                saveDialogPath(m_ctx.settingsFile, i + 1, ss(path), *m_ctx.reporter);
                if (m_onPoints && i == 0)
                    m_onPoints();
            });
        }
        m_noDust = new QCheckBox(QStringLiteral("&Nepoužívej soubor s prachem"));
        m_noDust->setObjectName("chbNoDust");
        QObject::connect(m_noDust, &QCheckBox::toggled, &dlg, [this](bool on) {
            for (QWidget* w : {static_cast<QWidget*>(m_box[2]), static_cast<QWidget*>(m_browse[2]),
                               static_cast<QWidget*>(m_label[2])})
                w->setEnabled(!on);
        });
        m_noDust->setChecked(paths.dust.empty() || ctx.dustOff);
        if (ctx.dustOff) {
            m_box[2]->clear();
            for (QWidget* w : {static_cast<QWidget*>(m_box[2]), static_cast<QWidget*>(m_browse[2]),
                               static_cast<QWidget*>(m_label[2]), static_cast<QWidget*>(m_noDust)})
                w->hide();
        }
    }

    SourcePaths paths() const
    {
        SourcePaths p{ss(m_box[0]->text().trimmed()), ss(m_box[1]->text().trimmed()), ss(m_box[2]->text().trimmed())};
        if (m_noDust->isChecked())
            p.dust.clear();
        return p;
    }

    QLineEdit* m_box[3];
    QLabel* m_label[3];
    QToolButton* m_browse[3];
    QCheckBox* m_noDust;
    std::function<void()> m_onPoints;
    EditorContext& m_ctx;
};

QHBoxLayout* dialogButtons(QDialog& dlg, const QString& okText, const QString& cancelTip, QPushButton** okOut)
{
    auto* ok = new QPushButton(okText);
    ok->setObjectName("cmdOK");
    ok->setDefault(true);
    auto* cancel = new QPushButton(QStringLiteral("&Storno"));
    cancel->setToolTip(cancelTip);
    auto* help = new QPushButton(QStringLiteral("&Nápověda"));
    auto* row = buttonRow({ok, cancel, help});
    QObject::connect(cancel, &QPushButton::clicked, &dlg, &QDialog::reject);
    QObject::connect(help, &QPushButton::clicked, &dlg, [&dlg] { openHelp(&dlg); });
    *okOut = ok;
    return row;
}

}  // namespace

std::optional<LoadChoice> askLoadFiles(EditorContext& ctx, QWidget* parent)
{
    QDialog dlg(parent);
    setDialogFrame(&dlg, "frmNactiZdroje", QStringLiteral("Načti zdroje znečištění"));
    auto* grid = new QGridLayout(&dlg);
    FileRows rows(dlg, grid, ctx, false,
                  {ctx.settings.lastPoints, ctx.settings.lastDescription, ctx.settings.lastDust});
    auto* comment = new QLabel(QStringLiteral("Komentář:"));
    comment->setObjectName("lbKomentar");
    grid->addWidget(comment, 6, 0, 1, 2);
    auto* append = new QCheckBox(QStringLiteral("&Připoj data k stávajícím"));
    append->setObjectName("chbAppend");
    grid->addWidget(append, 7, 0, 1, 2);
    grid->addWidget(rows.m_noDust, 8, 0, 1, 2);
    auto showComment = [&] {
        comment->setText(QStringLiteral("Komentář: ") + qs(firstComment(ss(rows.m_box[0]->text().trimmed()))));
    };
    rows.m_onPoints = showComment;
    new EventHook(rows.m_box[0], [&](QObject*, QEvent* e) {
        if (e->type() == QEvent::FocusOut)
            showComment();
        return false;
    });
    showComment();
    QPushButton* ok = nullptr;
    grid->addLayout(
        dialogButtons(dlg, QStringLiteral("Načti soubory"), QStringLiteral("Zpět bez načtení souborů"), &ok), 9, 0, 1,
        2);
    QObject::connect(ok, &QPushButton::clicked, &dlg, &QDialog::accept);
    if (dlg.exec() != QDialog::Accepted)
        return std::nullopt;
    return LoadChoice{rows.paths(), append->isChecked()};
}

std::optional<SourcePaths> askSaveFiles(EditorContext& ctx, QWidget* parent)
{
    QDialog dlg(parent);
    setDialogFrame(&dlg, "frmUlozZdroje", QStringLiteral("Ulož zdroje znečištění"));
    auto* grid = new QGridLayout(&dlg);
    FileRows rows(dlg, grid, ctx, true, {ctx.settings.lastPoints, ctx.settings.lastDescription, ctx.settings.lastDust});
    grid->addWidget(rows.m_noDust, 6, 0, 1, 2);
    QPushButton* ok = nullptr;
    grid->addLayout(
        dialogButtons(dlg, QStringLiteral("Ulož vybrané soubory"), QStringLiteral("Zpět bez uložení souborů"), &ok), 7,
        0, 1, 2);
    auto update = [&] {
        ok->setEnabled(!rows.m_box[0]->text().trimmed().isEmpty() && !rows.m_box[1]->text().trimmed().isEmpty());
    };
    QObject::connect(rows.m_box[0], &QLineEdit::textChanged, &dlg, update);
    QObject::connect(rows.m_box[1], &QLineEdit::textChanged, &dlg, update);
    update();
    QObject::connect(ok, &QPushButton::clicked, &dlg, &QDialog::accept);
    if (dlg.exec() != QDialog::Accepted)
        return std::nullopt;
    return rows.paths();
}

}  // namespace ovd::sourcesui
