#pragma once
// The protocol window: the report in rtfProtokol, and a button that hands the RTF file
// to the system's associated program.
#include <QDialog>
#include <QImage>

class QPushButton;
class QTextBrowser;

namespace ovd::roseui {

class frmProtokol : public QDialog {
public:
    frmProtokol(const QString& html, const QImage& picture, const QString& rtfPath, QWidget* parent);

    QTextBrowser* rtfProtokol = nullptr;
    QPushButton* cmdOtevrit = nullptr;
};

}  // namespace ovd::roseui
