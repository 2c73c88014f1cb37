#pragma once
// Shows which of the six ways of syncing a pair is chosen: four small icons (layout 1), or the
// setting's picture with an arrow and its name (layout 2). A click opens a popup of the six ways; a
// pick posts WM_COMMAND 2024 + i to the parent and changes nothing here until the parent calls
// SetSetting. The names come from the owner, who picks the table (iPod or remote wording) at the
// moment they are read.

#include "widgets/SkinnedControl.h"

#include <QFont>
#include <QImage>
#include <QString>
#include <array>
#include <functional>
#include <memory>

class QMenu;

class ASyncSettingBitmap : public SkinnedControl {
public:
    static constexpr int kModeCount = 6;
    static constexpr int kSettingCount = 8;
    static constexpr int kNoSetting = 6;
    static constexpr int kIconsPerSetting = 4;
    enum Layout { kIconLayout = 1, kPictureLayout = 2 };

    using ModeNames = std::array<QString, kModeCount>;
    using IconTable = std::array<std::array<int, kIconsPerSetting>, kSettingCount>;

    ASyncSettingBitmap(int id, QWidget* parent);
    ~ASyncSettingBitmap() override;

    // Values outside 0 to 7 become 6 (none).
    void SetSetting(int setting);
    int GetSetting() const { return m_setting; }
    // Layout 2 resizes the control around its centre to fit the pictures and the widest name.
    void SetLayout(int layout);
    void SetModeNames(std::function<ModeNames()> names);
    void SetIconTable(const IconTable& icons);

    void Draw(QPainter& painter) override;
    // Opens the popup of the six ways at a point on the screen.
    void OpenPopup(const QPoint& globalPosition);
    // Commands 2024 to 2031 go on to the parent. True when handled.
    bool OnCommand(int commandId);

    QMenu* Popup() const { return m_popup.get(); }

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    class PopupItem;

    ModeNames Names() const;
    // The caption of a setting: none for 6 and 7, which have no name.
    QString Caption(int setting) const;
    QFont NameFont() const;
    void DrawIcons(QPainter& painter) const;
    void DrawPicture(QPainter& painter) const;
    void BuildPopup();

    int m_setting = kNoSetting;
    int m_layout = kIconLayout;
    int m_pictureOffset = 0;
    std::array<QImage, kSettingCount> m_pictures;
    QImage m_icons;
    QImage m_arrow;
    QImage m_arrowHot;
    std::function<ModeNames()> m_names;
    IconTable m_iconTable{};
    std::unique_ptr<QMenu> m_popup;
};
