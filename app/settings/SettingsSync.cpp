#include "app/settings/SettingsSync.h"

#include "app/settings/PageLinks.h"
#include "app/settings/SettingsFilter.h"
#include "widgets/ABar.h"
#include "widgets/ControlId.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>

struct SettingsSync::Box {
    uint32_t SettingsSync::*value;
    int id;
    const char* text;
};

namespace {

constexpr int kSyncTemplate = 108;
constexpr ColorRef kBarColor = 0x009B9B9B;
constexpr int kUseGenreId = 3000;
constexpr int kUseAlbumId = 3001;
constexpr int kUseTypeId = 3002;
constexpr int kLastSyncPlayListId = 3007;
constexpr int kVerboseId = 3003;
constexpr int kFirstBarId = 3010;

struct Group {
    const char* title;
    int firstBox;
    int boxCount;
};

// The boxes in the order of their groups.
constexpr Group kGroups[] = {
    {"When comparing songs:", 0, 4}, {"Log Options:", 4, 1},    {"During a Sync:", 5, 4},
    {"File Activity:", 9, 3},        {"Meta Data Sync:", 12, 5},
};

} // namespace

const std::array<SettingsSync::Box, 17>& SettingsSync::Boxes() {
    static const std::array<Box, 17> boxes = {{
        {&SettingsSync::useGenre, kUseGenreId, "Use Genre"},
        {&SettingsSync::useAlbumName, kUseAlbumId, "Use Album Name"},
        {&SettingsSync::useFileType, kUseTypeId, "Use File Type"},
        {&SettingsSync::useTrackNumber, 1021, "Use Track Number"},
        {&SettingsSync::verboseLog, kVerboseId, "Verbose"},
        {&SettingsSync::showActionList, 3004, "Show List of Actions"},
        {&SettingsSync::stopOnError, 3005, "Stop on an Error"},
        {&SettingsSync::autoRunSync, 3006, "Auto Run Sync"},
        {&SettingsSync::createLastSyncPlayList, kLastSyncPlayListId, "Create Last Sync Playlist"},
        {&SettingsSync::dontCopyWhenTagsEqual, 3009, "Don't Copy when Tags Equal"},
        {&SettingsSync::forceReadOnly, 1020, "Force changes to read-only files instead of generating errors"},
        {&SettingsSync::autoReplaceAll, 3020, "Auto Replace All in Sync"},
        {&SettingsSync::syncRatings, 3015, "Sync Ratings"},
        {&SettingsSync::syncPlaycounts, 3016, "Sync Playcounts"},
        {&SettingsSync::syncLastPlayed, 3018, "Sync Last Played Date"},
        {&SettingsSync::syncEQ, 3017, "Sync EQ Settings"},
        {&SettingsSync::syncComments, 3019, "Sync Comments"},
    }};
    return boxes;
}

SettingsSync::SettingsSync() : APropertyPage(kSyncTemplate, QStringLiteral("Synchronizing")) {
    auto* layout = new QGridLayout(this);
    int row = 0;
    int bar = kFirstBarId;
    for (const Group& group : kGroups) {
        layout->addWidget(new QLabel(QLatin1String(group.title), this), row++, 0, 1, 2);
        auto* line = new ABar(bar++, this);
        line->SetColor(kBarColor);
        line->setFixedHeight(1);
        layout->addWidget(line, row++, 0, 1, 2);
        for (int i = group.firstBox; i < group.firstBox + group.boxCount; ++i) {
            const Box& box = Boxes()[i];
            m_checks[i] = new QCheckBox(QLatin1String(box.text), this);
            SetControlId(*m_checks[i], box.id);
            // "Verbose" stands beside its label "Log".
            if (box.id == kVerboseId)
                layout->addWidget(new QLabel(QStringLiteral("Log"), this), row, 1);
            layout->addWidget(m_checks[i], row++, 0, 1, box.id == kVerboseId ? 1 : 2);
        }
    }
    // The "Last Sync" playlist is made by every sync.
    CheckBox(kLastSyncPlayListId).hide();
    CheckBox(kLastSyncPlayListId).setEnabled(false);
    for (int id : {kUseGenreId, kUseAlbumId, kUseTypeId}) {
        connect(&CheckBox(id), &QCheckBox::clicked, this, [this, id](bool checked) { TellFilterPage(id, checked); });
    }
}

QCheckBox& SettingsSync::CheckBox(int id) const {
    for (size_t i = 0; i < Boxes().size(); ++i) {
        if (Boxes()[i].id == id)
            return *m_checks[i];
    }
    throw std::invalid_argument("no such check box");
}

void SettingsSync::SetFilterPages(SettingsFilter* genre, SettingsFilter* album, SettingsFilter* type) {
    m_genrePage = genre;
    m_albumPage = album;
    m_typePage = type;
}

bool SettingsSync::DoDataExchange(bool save) {
    for (size_t i = 0; i < Boxes().size(); ++i) {
        uint32_t& value = this->*Boxes()[i].value;
        if (save)
            value = m_checks[i]->isChecked() ? 1 : 0;
        else
            m_checks[i]->setChecked(value != 0);
    }
    return true;
}

void SettingsSync::TellFilterPage(int boxId, bool checked) {
    SettingsFilter* page = boxId == kUseGenreId ? m_genrePage : boxId == kUseAlbumId ? m_albumPage : m_typePage;
    pagelink::Tell(page, pagelink::kFirst, checked ? 1 : 0, [page, checked] { page->enabled = checked ? 1 : 0; });
}

void SettingsSync::CheckForFilter(unsigned number) {
    const int id = number == pagelink::kSecond ? kUseGenreId : number == pagelink::kThird ? kUseAlbumId : kUseTypeId;
    if (IsOpened()) {
        CheckBox(id).setChecked(true);
        return;
    }
    for (const Box& box : Boxes()) {
        if (box.id == id)
            this->*box.value = 1;
    }
}

bool SettingsSync::event(QEvent* event) {
    const nativeui::PrivateMessage* message = nativeui::PrivateMessage::From(event);
    if (!message)
        return APropertyPage::event(event);
    if (message->Number() >= pagelink::kSecond && message->Number() <= pagelink::kFourth)
        CheckForFilter(message->Number());
    return true;
}
