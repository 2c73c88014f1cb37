#include "app/settings/SettingsDeletes.h"

#include "app/settings/FolderHistory.h"
#include "widgets/ControlId.h"
#include "platform/ui/PrivateMessage.h"
#include "widgets/ControlMessages.h"
#include "widgets/MultiLineComboBox.h"

#include <QCheckBox>
#include <QDir>
#include <QFileDialog>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

constexpr int kDeletesTemplate = 148;
constexpr std::array<int, 2> kFirstIds = {3050, 3053};
constexpr std::array<const char*, 2> kGroupTitles = {"iTunes Side", "iPod Side"};

QString DefaultFolderChooser(QWidget* parent) {
    return QFileDialog::getExistingDirectory(parent, QStringLiteral("Select Directory"), QString(),
                                             QFileDialog::ShowDirsOnly);
}

bool IsExistingFolder(const QString& text) {
    return !text.isEmpty() && QDir(text).exists();
}

} // namespace

SettingsDeletes::SettingsDeletes()
    : APropertyPage(kDeletesTemplate, QStringLiteral("File Deletes")), m_chooseFolder(DefaultFolderChooser) {
    auto* layout = new QVBoxLayout(this);
    for (Side side : {kITunesSide, kIPodSide}) {
        // The controls are the page's own children: the combo tells its parent of a choice.
        auto* title = new QLabel(QLatin1String(kGroupTitles[side]), this);
        QFont bold = title->font();
        bold.setBold(true);
        title->setFont(bold);
        SideControls& controls = m_controls[side];
        controls.check = new QCheckBox(QStringLiteral("Move instead of delete"), this);
        SetControlId(*controls.check, kFirstIds[side]);
        controls.combo = new MultiLineComboBox(kFirstIds[side] + 1, this);
        controls.combo->setMinimumHeight(44);
        controls.change = new QPushButton(QStringLiteral("Change..."), this);
        SetControlId(*controls.change, kFirstIds[side] + 2);
        layout->addWidget(title);
        layout->addWidget(controls.check);
        layout->addWidget(controls.combo);
        layout->addWidget(controls.change, 0, Qt::AlignRight);
        connect(controls.check, &QCheckBox::clicked, this, [this, side] { EnableSide(side); });
        connect(controls.change, &QPushButton::clicked, this, [this, side] { ChangeFolder(side); });
    }
    layout->addStretch();
}

void SettingsDeletes::PutInCombo(Side side, const QString& folder) {
    QStringList folders = ComboFolders(side);
    FolderHistory::Put(folders, folder);
    MultiLineComboBox& combo = *m_controls[side].combo;
    while (combo.GetCount() > 0)
        combo.DeleteString(0);
    for (const QString& entry : folders)
        combo.InsertString(-1, entry);
    combo.SetCurSel(0);
}

QStringList SettingsDeletes::ComboFolders(Side side) const {
    QStringList folders;
    for (int i = 0; i < m_controls[side].combo->GetCount(); ++i)
        folders.append(m_controls[side].combo->GetLBText(i));
    return folders;
}

void SettingsDeletes::ShowSide(Side side) {
    const SideValues& values = sides[side];
    m_controls[side].check->setChecked(values.move != 0);
    for (qsizetype i = values.history.size() - 1; i >= 0; --i)
        PutInCombo(side, values.history[i]);
    if (!values.folder.isEmpty())
        PutInCombo(side, values.folder);
    if (m_controls[side].combo->GetCount() > 0)
        m_controls[side].combo->SetCurSel(0);
    EnableSide(side);
}

void SettingsDeletes::EnableSide(Side side) {
    const bool sideOn = side == kITunesSide || podSideEnabled != 0;
    SideControls& controls = m_controls[side];
    controls.check->setEnabled(sideOn);
    const bool on = sideOn && controls.check->isChecked();
    controls.combo->EnableWindow(on);
    controls.change->setEnabled(on);
}

void SettingsDeletes::ChangeFolder(Side side) {
    const QString chosen = m_chooseFolder(window());
    if (!chosen.isEmpty())
        PutInCombo(side, chosen);
}

bool SettingsDeletes::SideIsValid(Side side) const {
    if (!m_controls[side].check->isChecked())
        return true;
    return IsExistingFolder(m_controls[side].combo->GetEditText());
}

bool SettingsDeletes::Validate(QString& message) {
    if (!IsOpened())
        return true;
    if (!SideIsValid(kITunesSide)) {
        message = QLatin1String(kITunesInvalid);
        return false;
    }
    if (podSideEnabled && !SideIsValid(kIPodSide)) {
        message = QLatin1String(kIPodInvalid);
        return false;
    }
    return true;
}

bool SettingsDeletes::DoDataExchange(bool save) {
    for (Side side : {kITunesSide, kIPodSide}) {
        if (!save) {
            ShowSide(side);
            continue;
        }
        SideValues& values = sides[side];
        values.move = m_controls[side].check->isChecked() ? 1 : 0;
        values.folder = m_controls[side].combo->GetEditText();
        if (IsExistingFolder(values.folder))
            PutInCombo(side, values.folder);
        values.history = ComboFolders(side);
    }
    return true;
}

bool SettingsDeletes::event(QEvent* event) {
    const nativeui::PrivateMessage* message = nativeui::PrivateMessage::From(event);
    if (!message || message->Number() != nativeui::kWmCommand)
        return APropertyPage::event(event);
    const int id = nativeui::LowWord(message->WParam());
    for (Side side : {kITunesSide, kIPodSide}) {
        MultiLineComboBox& combo = *m_controls[side].combo;
        if (id == combo.Id() && nativeui::HighWord(message->WParam()) == controlmsg::kCbnSelChange &&
            combo.GetCurSel() >= 0)
            PutInCombo(side, combo.GetLBText(combo.GetCurSel()));
    }
    return true;
}
