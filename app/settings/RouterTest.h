#pragma once
// The router test as the main program runs it: it asks the server program to test and configure the
// router, waits in CPnPDiag until the program reports, reads what it found and tells the user. The
// status word is the window's: 0 while the test runs, 1 done, -1 failed.

#include "app/state/RouterStatus.h"

#include <QString>
#include <optional>

class HelperProgram;
class QWidget;

class RouterTest {
public:
    static constexpr const char* kTitle = "PnP Router Configure";

    struct Texts {
        QString nat;
        QString ip;
        QString port;
    };

    RouterTest(const HelperProgram& helper, int& statusWord) : m_helper(helper), m_status(statusWord) {}

    // The page's router texts after the test, or none when the user cancelled the wait.
    std::optional<Texts> Run(QWidget* parent);

    static Texts FailedTexts();
    static QString FailureMessage();

private:
    Texts ReportSuccess(const RouterStatus& status, QWidget* parent) const;
    Texts ReportFailure(QWidget* parent) const;

    const HelperProgram& m_helper;
    int& m_status;
};
