#pragma once
// The settings page "File Deletes": for the library side and the iPod side, whether deleted songs are
// moved into a folder instead, which folder, and the folders chosen before. The iPod side can be
// changed only while a device is chosen in the main window.

#include "widgets/APropertyPage.h"

#include <QString>
#include <QStringList>
#include <array>
#include <cstdint>
#include <functional>

class MultiLineComboBox;
class QCheckBox;
class QPushButton;

class SettingsDeletes : public APropertyPage {
public:
    static constexpr const char* kITunesInvalid = "Move-to directory for iTunes is invalid!";
    static constexpr const char* kIPodInvalid = "Move-to directory for iPod is invalid!";
    enum Side { kITunesSide = 0, kIPodSide = 1 };

    struct SideValues {
        uint32_t move = 0;
        QString folder;
        QStringList history;
    };

    SettingsDeletes();

    std::array<SideValues, 2> sides;
    uint32_t podSideEnabled = 0;

    // The folder browser ("Select Directory"); tests put their own in its place. Empty: none chosen.
    void SetFolderChooser(std::function<QString(QWidget*)> choose) { m_chooseFolder = std::move(choose); }

    MultiLineComboBox& Combo(Side side) const { return *m_controls[side].combo; }
    QCheckBox& MoveCheck(Side side) const { return *m_controls[side].check; }
    QPushButton& ChangeButton(Side side) const { return *m_controls[side].change; }
    // The "Change..." button of a side: a chosen folder goes to the top of the combo.
    void ChangeFolder(Side side);

    bool Validate(QString& message) override;
    bool DoDataExchange(bool save) override;

protected:
    bool event(QEvent* event) override;

private:
    struct SideControls {
        QCheckBox* check = nullptr;
        MultiLineComboBox* combo = nullptr;
        QPushButton* change = nullptr;
    };

    void ShowSide(Side side);
    void PutInCombo(Side side, const QString& folder);
    QStringList ComboFolders(Side side) const;
    void EnableSide(Side side);
    bool SideIsValid(Side side) const;

    std::array<SideControls, 2> m_controls;
    std::function<QString(QWidget*)> m_chooseFolder;
};
