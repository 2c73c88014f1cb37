#pragma once
// The settings page "Global": the main program's own settings (hide the library on a sync, close when
// done), the server settings that both programs read (written at once on OK, and the server program
// told to read them again), and the router's status with the router test.

#include "app/state/AppSettings.h"
#include "widgets/APropertyPage.h"

#include <QString>
#include <cstdint>

class QCheckBox;
class QLabel;
class QLineEdit;
class HelperProgram;
class RouterTest;

class SettingsGlobal : public APropertyPage {
public:
    static constexpr const char* kPortMessage = "Port number must be between 1 and 65535.";
    static constexpr int kTestRouterId = 1057;

    SettingsGlobal();

    uint32_t hideITunes = 0;
    uint32_t autoClose = 0;
    uint32_t startServer = 1;
    uint32_t serverPort = 10564;
    uint32_t manageIPods = 0;
    uint32_t manageShuffles = 0;
    uint32_t pnpRouter = 0;
    QString natText;
    QString ipText;
    QString portText;

    // Where OK writes the server values (none: the user's key) and whom it tells to read them again.
    void SetServerLink(const HelperProgram* helper, SettingsKeyOpener openKey);
    // What the router test reaches: the server program and the window's status word. None: no test.
    void SetRouterTest(RouterTest* test) { m_routerTest = test; }

    bool Validate(QString& message) override;
    bool DoDataExchange(bool save) override;
    void OnOK() override;

protected:
    void OnInitDialog() override;

private:
    void TestRouter();
    void ShowRouterTexts();

    const HelperProgram* m_helper = nullptr;
    SettingsKeyOpener m_openKey;
    RouterTest* m_routerTest = nullptr;
    QCheckBox* m_hide;
    QCheckBox* m_autoClose;
    QCheckBox* m_startServer;
    QLineEdit* m_port;
    QCheckBox* m_manageIPods;
    QCheckBox* m_manageShuffles;
    QCheckBox* m_pnpRouter;
    QLabel* m_nat;
    QLabel* m_ip;
    QLabel* m_portStatus;
};
