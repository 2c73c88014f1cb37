#pragma once
// A window background like the main window's skin, for showing controls over it.

#include <QWidget>

class SkinPanel : public QWidget {
public:
    explicit SkinPanel(const QSize& size, QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;
};
