#pragma once
// "PnP Router Configure": a wait with a moving bar that ends by itself once the router test's status
// word says done (1) or failed (-1), looked at each second; Cancel ends it at once. A server program
// that never reports is given up after a minute.

#include "widgets/ExplicitEndDialog.h"

#include <QTimer>

class QProgressBar;

class CPnPDiag : public ExplicitEndDialog {
public:
    static constexpr int kSteps = 50;
    static constexpr int kTickMs = 1000;
    static constexpr int kGiveUpTicks = 60;
    static constexpr int kReported = 0;
    static constexpr int kGaveUp = -1;

    CPnPDiag(const int& statusWord, QWidget* parent = nullptr, int tickMs = kTickMs);

    // kReported when the test reported, kGaveUp when it did not within the limit, IDCANCEL when the
    // user cancelled.
    int DoModal();

private:
    void Tick();

    const int& m_status;
    QProgressBar* m_bar;
    QTimer m_timer;
    int m_ticks = 0;
};
