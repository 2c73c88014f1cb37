#include "app/dialogs/SelectPlayListsDlg.h"

#include "platform/ui/DialogUnits.h"
#include "platform/ui/WindowMessages.h"

#include <QPushButton>

namespace {

// The dialog's template, in dialog units.
constexpr int kClientWidth = 260;
constexpr int kClientHeight = 200;
const QRect kListUnits(0, 0, 260, 172);
constexpr int kButtonTop = 180;
constexpr int kButtonWidth = 58;
constexpr int kButtonHeight = 15;

struct ButtonPlace {
    int id;
    const char* text;
    int left;
};

constexpr ButtonPlace kButtons[] = {
    {SelectPlayListsDlg::kOkButton, "OK", 139},
    {SelectPlayListsDlg::kCancelButton, "Cancel", 198},
    {SelectPlayListsDlg::kCheckAllButton, "Check All", 4},
    {SelectPlayListsDlg::kUncheckAllButton, "UnCheck All", 65},
};

// The list's border, which the width of its columns leaves out.
constexpr int kListBorders = 4;

} // namespace

SelectPlayListsDlg::SelectPlayListsDlg(QWidget* parent)
    : CodedDialog(parent,
                  Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      m_rows(std::make_unique<SelectPlayLists::Rows>()), m_list(std::make_unique<SelectPlayLists>(this)) {
    setWindowTitle(QStringLiteral("Playlists to Synchronize"));
    const QSize client(nativeui::DialogUnitsToPixelsX(kClientWidth),
                       nativeui::DialogUnitsToPixelsY(kClientHeight));
    resize(client);
    setMinimumHeight(client.height());
    setMaximumHeight(client.height());
    m_list->setObjectName(QStringLiteral("ctl_1035"));
    m_list->setGeometry(Pixels(kListUnits));
    m_list->SetListModel(m_rows.get());
    m_list->SetFixedColumns({SelectPlayLists::kHiddenColumn, SelectPlayLists::kCheckColumn});
    for (const ButtonPlace& place : kButtons) {
        QPushButton* button = AddButton(place.id, QString::fromLatin1(place.text));
        button->setGeometry(Pixels(QRect(place.left, kButtonTop, kButtonWidth, kButtonHeight)));
    }
    ButtonById(kOkButton)->setDefault(true);
    connect(ButtonById(kOkButton), &QPushButton::clicked, this, [this] {
        m_rows->Apply();
        done(nativeui::kIdOk);
    });
    connect(ButtonById(kCancelButton), &QPushButton::clicked, this, [this] { done(nativeui::kIdCancel); });
    connect(ButtonById(kCheckAllButton), &QPushButton::clicked, this,
            [this] { m_rows->SetChecksWhere([](int) { return true; }, true); });
    connect(ButtonById(kUncheckAllButton), &QPushButton::clicked, this,
            [this] { m_rows->SetChecksWhere([](int) { return true; }, false); });
    m_list->LayoutColumns(m_list->viewport()->width());
}

SelectPlayListsDlg::~SelectPlayListsDlg() = default;

QPushButton* SelectPlayListsDlg::AddButton(int id, const QString& text) {
    auto* button = new QPushButton(text, this);
    button->setObjectName(QStringLiteral("ctl_%1").arg(id));
    button->setAutoDefault(false);
    m_buttons.push_back(button);
    return button;
}

QPushButton* SelectPlayListsDlg::ButtonById(int id) const {
    for (QPushButton* button : m_buttons) {
        if (button->objectName() == QStringLiteral("ctl_%1").arg(id))
            return button;
    }
    return nullptr;
}

void SelectPlayListsDlg::SetRecords(std::vector<PlayListChoice>* records, HeaderMode mode) {
    const bool remote = mode == kRemoteHeaders;
    m_rows->SetHeader(SelectPlayLists::kSide1Column,
                      remote ? QStringLiteral("Local iTunes") : QStringLiteral("iTunes"));
    m_rows->SetHeader(SelectPlayLists::kSide2Column,
                      remote ? QStringLiteral("Remote iTunes") : QStringLiteral("iPod"));
    m_rows->SetRecords(records);
    m_list->LayoutColumns(m_list->viewport()->width());
}

// The list takes the dialog's width and keeps its height.
void SelectPlayListsDlg::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    if (!m_list || width() <= 0 || height() <= 0)
        return;
    const QRect list = m_list->geometry();
    m_list->setGeometry(0, list.top(), width(), list.height());
    m_list->LayoutColumns(m_list->width() - kListBorders);
}
