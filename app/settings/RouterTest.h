#pragma once
// The router test as the main program runs it: it asks the server program to test and configure the
// router, waits in CPnPDiag until the program reports, reads what it found and tells the user. The
// status word is the window's: 0 while the test runs, 1 done, -1 failed.

#include "app/settings/CPnPDiag.h"
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
    enum class WaitEnd { Done, Failed, Cancelled };

    RouterTest(const HelperProgram& helper, int& statusWord) : m_helper(helper), m_status(statusWord) {}

    // The page's router texts after the test, or none when the user cancelled the wait.
    std::optional<Texts> Run(QWidget* parent);
    // Starts the test and waits for its end: a server program that is not running, or that does not
    // report within the wait's limit, fails it (the status word then says so).
    WaitEnd StartAndWait(QWidget* parent);

    // The test's time step, for tests of the wait.
    void SetWaitTick(int milliseconds) { m_tickMs = milliseconds; }

    static Texts FailedTexts();
    // The page's texts for what "Router.stat" holds.
    static Texts StatusTexts(const RouterStatus& status);
    static QString FailureMessage();
    static QString BehindAnotherRouterMessage();
    static QString NoConfigurationMessage();
    // A message box titled as the router test's.
    static void Tell(QWidget* parent, const QString& text, bool warning);

private:
    Texts ReportSuccess(const RouterStatus& status, QWidget* parent) const;
    Texts ReportFailure(QWidget* parent) const;

    const HelperProgram& m_helper;
    int& m_status;
    int m_tickMs = CPnPDiag::kTickMs;
};
