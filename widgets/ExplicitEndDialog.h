#pragma once
// A modal dialog that ends only with an explicit code of its own (IDOK, IDCANCEL, a button's index),
// never with QDialog's accepted or rejected, and never by Escape or its close box, which it has not.

#include <QDialog>

class ExplicitEndDialog : public QDialog {
public:
    explicit ExplicitEndDialog(QWidget* parent);

    void reject() override;

protected:
    // Runs the dialog; the code it ended with, or `unanswered` when it ended without one.
    int RunModal(int unanswered);
    void EndWith(int code);
    void closeEvent(QCloseEvent* event) override;

private:
    int m_code = 0;
};
