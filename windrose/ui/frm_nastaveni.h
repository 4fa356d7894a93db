#pragma once
// The settings window "Možnosti": tabs "Tabulka", "Graf" and "Obecné" over a copy of the
// editor's settings; cmdOK accepts it, Storno discards it.
#include <QDialog>

#include "windrose/wind_rose_editor_settings.h"

class QCheckBox;
class QPushButton;
class QSpinBox;

namespace ovd::roseui {

class frmNastaveni : public QDialog {
public:
    frmNastaveni(const WindRoseEditorSettings&, QWidget* parent);
    const WindRoseEditorSettings& settings() const { return m_settings; }

    QPushButton *btmFontTabulky = nullptr, *btmColorText = nullptr, *btmColorSum = nullptr, *btmColorErr = nullptr,
                *btmColorRozpocet = nullptr, *btmBarvaPozadi = nullptr, *btmBarvaOs = nullptr, *btmBarvaCary = nullptr,
                *cmdBarvaVetru = nullptr, *cmdBarvaTrid = nullptr, *cmdOK = nullptr, *Storno = nullptr;
    QSpinBox* SirkaCary = nullptr;
    QCheckBox* chSafeSave = nullptr;

private:
    QPushButton* colourButton(QWidget* page, const char* name, const char* text, long& colour);
    QWidget* tablePage(QWidget* tabs);
    QWidget* graphPage(QWidget* tabs);
    QWidget* generalPage(QWidget* tabs);
    void chooseTableFont();

    WindRoseEditorSettings m_settings;
};

}  // namespace ovd::roseui
