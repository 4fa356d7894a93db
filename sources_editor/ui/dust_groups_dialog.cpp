#include "dust_groups_dialog.h"

#include <QCloseEvent>
#include <QDialog>
#include <QFileDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "ui_common/dialogs.h"
#include "ui_support.h"

namespace ovd::sourcesui {

namespace {

const QString kGroupsFilter =
    QStringLiteral("Soubory s popisem prachu (*.spr);;Textové soubory (*.txt);;Všechny soubory (*)");

class GroupsDialog : public QDialog {
public:
    GroupsDialog(EditorContext& ctx, QWidget* parent)
        : QDialog(parent)
        , m_ctx(ctx)
    {
        setDialogFrame(this, "frmSkupinyPrachu", QStringLiteral("Skupiny prachu"));
        auto* grid = new QGridLayout(this);

        grid->addWidget(groupList(), 0, 0);
        grid->addWidget(groupDetail(), 0, 1);
        grid->addWidget(groupFile(), 1, 0, 1, 2);

        m_close = new QPushButton(QStringLiteral("Zavřít"));
        m_close->setObjectName("cmdStorno");
        m_help = new QPushButton(QStringLiteral("&Nápověda"));
        auto* bottom = buttonRow({m_close, m_help});
        grid->addLayout(bottom, 2, 0, 1, 2);

        connectActions();
        refill(m_ctx.groups.Count() ? 0 : -1);
    }

protected:
    // Esc, the close button and the window's close all ask about unsaved changes.
    void reject() override
    {
        if (confirmClose())
            QDialog::reject();
    }
    void closeEvent(QCloseEvent* e) override
    {
        if (!confirmClose()) {
            e->ignore();
            return;
        }
        QDialog::closeEvent(e);
    }

private:
    QGroupBox* groupList()
    {
        auto* listFrame = new QGroupBox(QStringLiteral("Seznam skupin"));
        auto* lf = new QVBoxLayout(listFrame);
        m_list = new QListWidget;
        m_list->setObjectName("lstSkupiny");
        lf->addWidget(m_list);
        auto* lb = new QHBoxLayout;
        m_add = new QPushButton(QStringLiteral("Nová"));
        m_add->setObjectName("cmdNew");
        m_del = new QPushButton(QStringLiteral("Zruš"));
        m_del->setObjectName("cmdDel");
        lb->addWidget(m_add);
        lb->addWidget(m_del);
        lf->addLayout(lb);
        return listFrame;
    }

    QGroupBox* groupDetail()
    {
        m_detail = new QGroupBox(QStringLiteral("Detail vybrané skupiny"));
        auto* df = new QGridLayout(m_detail);
        m_number = new QLineEdit;
        m_number->setObjectName("txtSkupina");
        allowKeys(m_number, kDigits);
        m_name = new QLineEdit;
        m_name->setObjectName("txtNazevSkupiny");
        m_particles = new QTreeWidget;
        m_particles->setRootIsDecorated(false);
        m_particles->setHeaderLabels({QStringLiteral("Průměr"), QStringLiteral("Zastoupení")});
        m_diameter = new QLineEdit;
        m_share = new QLineEdit;
        allowKeys(m_diameter, kDigits + ".,");
        allowKeys(m_share, kDigits + ".,");
        m_addParticle = new QPushButton(QStringLiteral("Přidej"));
        m_addParticle->setObjectName("cmdAdd");
        m_removeParticle = new QPushButton(QStringLiteral("Odeber"));
        m_removeParticle->setObjectName("cmdZrusCastici");
        df->addWidget(new QLabel(QStringLiteral("Číslo:")), 0, 0);
        df->addWidget(m_number, 0, 1);
        df->addWidget(new QLabel(QStringLiteral("Název:")), 1, 0);
        df->addWidget(m_name, 1, 1);
        df->addWidget(new QLabel(QStringLiteral("Prachové částice:")), 2, 0, 1, 2);
        df->addWidget(m_particles, 3, 0, 1, 2);
        df->addWidget(new QLabel(QStringLiteral("Průměr [um]:")), 4, 0);
        df->addWidget(m_diameter, 4, 1);
        df->addWidget(new QLabel(QStringLiteral("Zastoupení [%/100]:")), 5, 0);
        df->addWidget(m_share, 5, 1);
        auto* pb = new QHBoxLayout;
        pb->addWidget(m_addParticle);
        pb->addWidget(m_removeParticle);
        df->addLayout(pb, 6, 0, 1, 2);
        return m_detail;
    }

    QGroupBox* groupFile()
    {
        auto* fileFrame = new QGroupBox(QStringLiteral("Soubor se skupinami prachu "));
        auto* ff = new QGridLayout(fileFrame);
        m_file = new QLineEdit;
        m_file->setReadOnly(true);
        m_comment = new QLineEdit;
        m_newFile = new QPushButton(QStringLiteral("Nový"));
        m_newFile->setObjectName("cmdNewFile");
        m_open = new QPushButton(QStringLiteral("&Otevři"));
        m_open->setObjectName("cmdOpenFile");
        m_save = new QPushButton(QStringLiteral("Ulož"));
        m_save->setObjectName("cmdSaveFile");
        ff->addWidget(m_file, 0, 0, 1, 3);
        ff->addWidget(new QLabel(QStringLiteral("Komentář:")), 1, 0);
        ff->addWidget(m_comment, 1, 1, 1, 2);
        ff->addWidget(m_newFile, 2, 0);
        ff->addWidget(m_open, 2, 1);
        ff->addWidget(m_save, 2, 2);
        return fileFrame;
    }

    void connectActions()
    {
        connect(m_list, &QListWidget::currentRowChanged, this, [this](int row) { show(row); });
        connect(m_add, &QPushButton::clicked, this, [this] {
            int i = m_ctx.groups.newGroup();
            refill(i);
            m_name->setFocus();
        });
        connect(m_del, &QPushButton::clicked, this, [this] {
            int row = m_list->currentRow();
            m_ctx.groups.remove(row);
            refill(std::min(row, m_ctx.groups.Count() - 1));
        });
        connect(m_number, &QLineEdit::editingFinished, this, [this] { renumber(); });
        connect(m_name, &QLineEdit::textEdited, this, [this] { storeShown(); });
        connect(m_addParticle, &QPushButton::clicked, this, [this] {
            if (addParticle(m_shown, withPoint(m_diameter->text()), withPoint(m_share->text())))
                storeShown();
        });
        connect(m_removeParticle, &QPushButton::clicked, this, [this] {
            if (removeParticle(m_shown, withPoint(m_diameter->text())))
                storeShown();
        });
        connect(m_comment, &QLineEdit::textEdited, this, [this](const QString& t) { m_ctx.groups.Komentar(ss(t)); });
        connect(m_newFile, &QPushButton::clicked, this, [this] {
            m_ctx.groups.clear();
            refill(-1);
        });
        connect(m_open, &QPushButton::clicked, this, [this] {
            QString path = QFileDialog::getOpenFileName(this, QStringLiteral("Otevření skupin prachu"),
                                                        qs(m_ctx.groups.FileName()), kGroupsFilter);
            if (!path.isEmpty() && m_ctx.groups.OtevriSkupiny(ss(path), *m_ctx.reporter)) {
                m_ctx.settings.souborSkupinPrachu = ss(path);
                refill(m_ctx.groups.Count() ? 0 : -1);
            }
        });
        connect(m_save, &QPushButton::clicked, this, [this] { saveGroups(); });
        connect(m_close, &QPushButton::clicked, this, [this] { reject(); });
        connect(m_help, &QPushButton::clicked, this, [this] { openHelp(this); });
    }

    bool confirmClose()
    {
        if (!m_ctx.groups.changed())
            return true;
        Question q{"Skupiny prachu", "Byly provedeny změny ve skupinách prachu.\nMám tyto změny uložit ?",
                   Buttons::YesNoCancel, Answer::Yes};
        Answer a = m_ctx.reporter->ask(q);
        if (a == Answer::Cancel || (a == Answer::Yes && !saveGroups()))
            return false;
        if (a == Answer::No) {
            // The changes go: back to the file as it is, or to nothing for a new one.
            if (m_ctx.groups.FileName().empty())
                m_ctx.groups.clear();
            else
                m_ctx.groups.OtevriSkupiny(m_ctx.groups.FileName(), *m_ctx.reporter);
        }
        m_ctx.groups.markSaved();
        return true;
    }

    bool saveGroups()
    {
        QString path = QFileDialog::getSaveFileName(this, QStringLiteral("Uložení skupin prachu"),
                                                    qs(m_ctx.groups.FileName()), kGroupsFilter);
        if (path.isEmpty())
            return false;
        if (!m_ctx.groups.UlozSkupiny(ss(path), m_ctx.projectPath, *m_ctx.reporter))
            return false;
        m_ctx.settings.souborSkupinPrachu = ss(path);
        m_file->setText(path);
        return true;
    }

    void refill(int select)
    {
        m_list->blockSignals(true);
        m_list->clear();
        for (int i = 0; i < m_ctx.groups.Count(); ++i)
            m_list->addItem(
                QStringLiteral("%1. %2").arg(m_ctx.groups.SkupinaCislo(i)).arg(qs(m_ctx.groups.SkupinaNazev(i))));
        m_list->blockSignals(false);
        m_file->setText(m_ctx.groups.FileName().empty() ? QStringLiteral("<nový soubor>")
                                                        : qs(m_ctx.groups.FileName()));
        m_comment->setText(qs(m_ctx.groups.Komentar()));
        m_list->setCurrentRow(select);
        show(select);
    }

    void show(int row)
    {
        m_row = row;
        m_detail->setEnabled(row >= 0);
        if (row < 0) {
            m_number->clear();
            m_name->clear();
            m_particles->clear();
            return;
        }
        m_number->setText(QString::number(m_ctx.groups.SkupinaCislo(row)));
        m_name->setText(qs(m_ctx.groups.groups()[static_cast<std::size_t>(row)].name));
        m_shown = m_ctx.groups.particles(row);
        fillParticles();
    }

    void fillParticles()
    {
        m_particles->clear();
        for (const auto& p : m_shown)
            m_particles->addTopLevelItem(new QTreeWidgetItem({qs(p.diameter), qs(p.share)}));
    }

    void storeShown()
    {
        if (m_row < 0)
            return;
        m_ctx.groups.store(m_ctx.groups.SkupinaCislo(m_row), ss(m_name->text()), m_shown);
        fillParticles();
        if (auto* item = m_list->item(m_row))
            item->setText(QStringLiteral("%1. %2")
                              .arg(m_ctx.groups.SkupinaCislo(m_row))
                              .arg(qs(m_ctx.groups.SkupinaNazev(m_row))));
    }

    void renumber()
    {
        if (m_row < 0)
            return;
        if (auto error = m_ctx.groups.renumber(m_row, ss(m_number->text()))) {
            m_ctx.reporter->message(Severity::Warning, kDustGroupsCaption, *error);
            m_number->setText(QString::number(m_ctx.groups.SkupinaCislo(m_row)));
            return;
        }
        if (auto* item = m_list->item(m_row))
            item->setText(QStringLiteral("%1. %2")
                              .arg(m_ctx.groups.SkupinaCislo(m_row))
                              .arg(qs(m_ctx.groups.SkupinaNazev(m_row))));
    }

    EditorContext& m_ctx;
    QListWidget* m_list;
    QGroupBox* m_detail;
    QLineEdit *m_number, *m_name, *m_diameter, *m_share, *m_file, *m_comment;
    QTreeWidget* m_particles;
    QPushButton *m_add, *m_del, *m_addParticle, *m_removeParticle, *m_newFile, *m_open, *m_save, *m_close, *m_help;
    std::vector<DustParticle> m_shown;
    int m_row = -1;
};

}  // namespace

void editDustGroups(EditorContext& ctx, QWidget* parent)
{
    GroupsDialog dialog(ctx, parent);
    dialog.exec();
}

}  // namespace ovd::sourcesui
