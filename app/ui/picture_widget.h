#pragma once
// The picture in the main window's client area: a stack whose plume drifts with the wind.
#include <QWidget>

namespace ovd::mainui {

class PictureWidget : public QWidget {
public:
    explicit PictureWidget(QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent*) override;
    void timerEvent(QTimerEvent*) override;

private:
    int m_phase = 0;
};

}  // namespace ovd::mainui
