#pragma once
// The playlist chooser of the playlist sync's action list: each entry shows the playlist on both sides
// with the symbol of its action between them (or of its song sync's mode), coloured by its action's
// code; in the popup a tick marks the playlists that take part. A click on the chooser's left end goes
// to the playlist's check box, which lies over it.

#include "app/dialogs/PlayListActionEntry.h"
#include "foundation/AString.h"
#include "widgets/AComboBox.h"

#include <QPointer>
#include <memory>
#include <vector>

class QCheckBox;
class QMenu;

class SyncPlayListAComboBox2 : public AComboBox {
public:
    static constexpr int kSymbolWidth = 76; // the middle part
    static constexpr int kCheckBoxZone = 27;
    static constexpr int kItemHeight = 16;

    SyncPlayListAComboBox2(int id, QWidget* parent);
    ~SyncPlayListAComboBox2() override;

    void SetCheckBox(QCheckBox* box) { m_checkBox = box; }
    // The playlists, one entry each, and the widths of the playlists' names on either side.
    void SetEntries(const std::vector<PlayListActionEntry>& entries, int partAWidth, int partCWidth);
    int PartAWidth() const { return m_partAWidth; }
    int PartCWidth() const { return m_partCWidth; }

    void Draw(QPainter& painter) override;
    void DropDown(QMouseEvent* event) override;
    // The popup of the last drop-down, or null.
    QMenu* EntryMenu() const { return m_menu.get(); }

    // Draws entry `index` in a rectangle of the control or of its popup.
    void DrawEntry(QPainter& painter, const QRect& rect, int index, bool inMenu) const;

    // An action's text without the side's name in front.
    static QString AfterSideName(const AString& text);
    // What the entry shows of the action's second text: what follows its first colon, or the text
    // without the side's name.
    static QString RightText(const AString& text2);

private:
    class EntryItem;

    QColor TextColor(int index, bool inMenu) const;
    void DrawSymbol(QPainter& painter, const QRect& rect, const PlayListActionEntry& entry) const;

    std::vector<PlayListActionEntry> m_entries;
    QPointer<QCheckBox> m_checkBox;
    int m_partAWidth = 0;
    int m_partCWidth = 0;
    std::unique_ptr<QMenu> m_menu;
};
