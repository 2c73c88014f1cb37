#pragma once
// "PnP Router Configure": a wait with a moving bar that ends by itself once the router test's status
// word says done (1) or failed (-1), looked at each second; Cancel ends it at once.

#include "widgets/ExplicitEndDialog.h"

#include <QTimer>

class QProgressBar;

class CPnPDiag : public ExplicitEndDialog {
public:
    static constexpr int kSteps = 50;
    static constexpr int kTickMs = 1000;

    CPnPDiag(const int& statusWord, QWidget* parent = nullptr);

    // 0 when the test reported, IDCANCEL when the user cancelled.
    int DoModal();

private:
    void Tick();

    const int& m_status;
    QProgressBar* m_bar;
    QTimer m_timer;
};
