#include "app/settings/SyncProperties.h"

#include "app/settings/PageLinks.h"
#include "platform/ui/WindowMessages.h"
#include "widgets/APropertySheet.h"

namespace {

constexpr int kDuplicatesTemplate = 105;
constexpr int kFilteringTemplate = 106;

struct FilterNames {
    const char* field;
    const char* plural;
};

constexpr std::array<FilterNames, SyncProperties::kFilterCount> kFilterNames = {{
    {"Genre", "Genre"}, {"Artist", "Artist"}, {"Album", "Album"}, {"Title", "Title"}, {"Type", "Type"},
    {"Path", "Path"},
}};

} // namespace

SyncProperties::SyncProperties()
    : duplicates(kDuplicatesTemplate, QStringLiteral("Duplicates")),
      filtering(kFilteringTemplate, QStringLiteral("Filtering")) {
    duplicates.AddChildPage(&rules);
    duplicates.AddChildPage(&appleIDs);
    duplicates.AddChildPage(&types);
    for (int field = 0; field < kFilterCount; ++field) {
        const QString name = QLatin1String(kFilterNames[field].field);
        filters[field] = std::make_unique<SettingsFilter>(name, QLatin1String(kFilterNames[field].plural), name);
        filtering.AddChildPage(filters[field].get());
        filtering.AppendCaption(name);
    }
    filters[kPath]->onlyText = QStringLiteral("Only Paths Containing");
    filters[kPath]->exceptText = QStringLiteral("All Paths Except If They Contain");
}

SyncProperties::~SyncProperties() {
    // The sheet lets go of the pages before they go.
    m_sheet.reset();
}

void SyncProperties::WireLinks() {
    duplicates.SetChildIndex(static_cast<int>(lastDuplicatesChild));
    filtering.SetChildIndex(static_cast<int>(lastFilteringChild));
    rules.SetListPages(&appleIDs, &types);
    appleIDs.enabled = rules.protectedFiles;
    types.enabled = rules.preferredTypes;
    appleIDs.SetRules(&rules);
    types.SetRules(&rules);
    sync.SetFilterPages(filters[kGenre].get(), filters[kAlbum].get(), filters[kType].get());
    filters[kGenre]->enabled = sync.useGenre;
    filters[kGenre]->SetLink(&sync, pagelink::kSecond);
    filters[kAlbum]->enabled = sync.useAlbumName;
    filters[kAlbum]->SetLink(&sync, pagelink::kThird);
    filters[kType]->enabled = sync.useFileType;
    filters[kType]->SetLink(&sync, pagelink::kFourth);
}

APropertySheet& SyncProperties::Prepare(QWidget* parent) {
    m_sheet.reset();
    WireLinks();
    m_sheet = std::make_unique<APropertySheet>(QLatin1String(kCaption), parent, static_cast<int>(lastPage));
    for (APropertyPage* page : std::initializer_list<APropertyPage*>{&global, &sync, &deletes, &duplicates, &filtering})
        m_sheet->AddPage(page);
    return *m_sheet;
}

int SyncProperties::DoModal(QWidget* parent) {
    APropertySheet& sheet = Prepare(parent);
    const int result = sheet.DoModal();
    if (result == nativeui::kIdOk) {
        lastPage = static_cast<uint32_t>(sheet.GetLastActivePage());
        lastDuplicatesChild = static_cast<uint32_t>(duplicates.GetChildIndex());
        lastFilteringChild = static_cast<uint32_t>(filtering.GetChildIndex());
    }
    return result;
}
