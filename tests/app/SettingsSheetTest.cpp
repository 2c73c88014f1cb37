// The settings sheet driven as a user drives it, offscreen: the links between its pages, the list
// editing, the move-to folders, the checks on OK, the server values and the router test.

#include "app/settings/ListEditor.h"
#include "app/settings/RouterTest.h"
#include "app/settings/SyncProperties.h"
#include "app/state/HelperProgram.h"
#include "harness/AppTestHome.h"
#include "harness/FakeHelperProgram.h"
#include "harness/SheetRun.h"
#include "platform/ini/PrivateProfile.h"
#include "platform/settings/SettingsKey.h"
#include "platform/ui/WindowMessages.h"
#include "widgets/AListCtrl.h"
#include "widgets/APropertySheet.h"
#include "widgets/MultiLineComboBox.h"
#include "widgets/PropertyPageTabs.h"
#include "widgets/WidgetTestSupport.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <filesystem>
#include "harness/QtPrinting.h"

#include <gtest/gtest.h>

namespace {

// Adds a value through the page's "+" and types it into the item being edited.
void AddValue(QWidget& page, int addId, AListCtrl& list, const QString& text) {
    QTest::mouseClick(page.findChild<QPushButton*>(QStringLiteral("ctl_%1").arg(addId)), Qt::LeftButton);
    Drain();
    QLineEdit* editor = list.findChild<QLineEdit*>();
    ASSERT_NE(editor, nullptr);
    editor->setText(text);
    QTest::keyClick(editor, Qt::Key_Return);
    Drain();
}

// A click on the box itself, at the left end of the check box.
void ClickBox(QCheckBox& box) {
    QTest::mouseClick(&box, Qt::LeftButton, {}, QPoint(6, box.height() / 2));
    Drain();
}

constexpr int kFilteringTab = 4;
constexpr int kDuplicatesTab = 3;
constexpr int kTypesChild = 2;

TEST(SettingsSheetTest, AddingAGenreChecksUseGenreOnAPageNotOpenedYet) {
    SyncProperties properties;
    properties.lastPage = kFilteringTab;
    SettingsFilter& genre = *properties.filters[SyncProperties::kGenre];
    const SheetRun run = RunSheet(properties, [&](APropertySheet&) {
        AddValue(genre, SettingsFilter::kAddId, genre.List(), QStringLiteral("Rock"));
    });
    EXPECT_EQ(run.result, nativeui::kIdOk);
    EXPECT_EQ(properties.sync.useGenre, 1u);
    EXPECT_EQ(genre.mode, SettingsFilter::kOnlyThese);
    EXPECT_EQ(genre.include, QStringList({"Rock"}));
    EXPECT_EQ(properties.lastPage, uint32_t(kFilteringTab));
}

TEST(SettingsSheetTest, OpenedPagesFollowEachOtherByMessage) {
    SyncProperties properties;
    properties.sync.useGenre = 1;
    SettingsFilter& genre = *properties.filters[SyncProperties::kGenre];
    SettingsFilter& artist = *properties.filters[SyncProperties::kArtist];
    const SheetRun run = RunSheet(properties, [&](APropertySheet& sheet) {
        UserShows(sheet, kFilteringTab);
        UserShows(sheet, 1);
        ClickBox(properties.sync.CheckBox(3000));
        EXPECT_FALSE(genre.ModeCombo().isEnabled());
        UserShows(sheet, kFilteringTab);
        properties.filtering.ChildTabs().setCurrentIndex(SyncProperties::kArtist);
        AddValue(artist, SettingsFilter::kAddId, artist.List(), QStringLiteral("Someone"));
        UserShows(sheet, 1);
        EXPECT_FALSE(properties.sync.CheckBox(3000).isChecked());
    });
    EXPECT_EQ(run.result, nativeui::kIdOk);
    EXPECT_EQ(properties.sync.useGenre, 0u);
    EXPECT_EQ(genre.enabled, 0u);
    EXPECT_EQ(artist.include, QStringList({"Someone"}));
}

TEST(SettingsSheetTest, TypesLoseTheirDotAndADuplicateIsRefused) {
    SyncProperties properties;
    properties.lastPage = kDuplicatesTab;
    properties.lastDuplicatesChild = kTypesChild;
    properties.types.texts = {"mp3"};
    const SheetRun run = RunSheet(properties, [&](APropertySheet&) {
        AddValue(properties.types, 3301, properties.types.List(), QStringLiteral("MP3"));
        // Refused and edited again: the user types another type.
        QLineEdit* editor = properties.types.List().findChild<QLineEdit*>();
        ASSERT_TRUE(SpinUntil([&] { return editor && editor->isVisible(); }));
        editor->setText(QStringLiteral(".m4a"));
        QTest::keyClick(editor, Qt::Key_Return);
        Drain();
    });
    EXPECT_EQ(run.messages, QStringList({ListEditor::kDuplicateMessage}));
    EXPECT_EQ(properties.types.texts, QStringList({"mp3", "m4a"}));
    EXPECT_EQ(properties.rules.preferredTypes, 1u);
}

TEST(SettingsSheetTest, AFilterKeepsTheListOfEachMode) {
    SyncProperties properties;
    properties.sync.useAlbumName = 1;
    SettingsFilter& album = *properties.filters[SyncProperties::kAlbum];
    album.mode = SettingsFilter::kOnlyThese;
    album.include = {"Kept"};
    album.exclude = {"Skipped"};
    properties.lastPage = kFilteringTab;
    properties.lastFilteringChild = SyncProperties::kAlbum;
    RunSheet(properties, [&](APropertySheet&) {
        EXPECT_EQ(album.Editor().Texts(), QStringList({"Kept"}));
        album.ModeCombo().setCurrentIndex(SettingsFilter::kAllExcept);
        emit album.ModeCombo().activated(SettingsFilter::kAllExcept);
        EXPECT_EQ(album.Editor().Texts(), QStringList({"Skipped"}));
        EXPECT_EQ(album.ModeCombo().itemText(1), "Only These Albums");
        EXPECT_EQ(album.ModeCombo().itemText(2), "All Albums, Except");
    });
    EXPECT_EQ(album.mode, SettingsFilter::kAllExcept);
    EXPECT_EQ(album.include, QStringList({"Kept"}));
    EXPECT_EQ(properties.filters[SyncProperties::kPath]->ModeText(1), "Only Paths Containing");
}

class FileDeletesTest : public testing::Test {
protected:
    QString Folder(const std::string& name) const {
        const std::string path = m_dir.File(name);
        std::filesystem::create_directories(path);
        return QString::fromStdString(path);
    }

    TempDir m_dir;
};

TEST_F(FileDeletesTest, TheHistoryKeepsFiveFoldersTheLatestFirst) {
    SyncProperties properties;
    properties.lastPage = 2;
    SettingsDeletes& deletes = properties.deletes;
    deletes.sides[SettingsDeletes::kITunesSide].move = 1;
    QString chosen;
    deletes.SetFolderChooser([&](QWidget*) { return chosen; });
    RunSheet(properties, [&](APropertySheet&) {
        for (const char* name : {"a", "b", "c", "d", "e", "b", "f"}) {
            chosen = Folder(name);
            deletes.ChangeFolder(SettingsDeletes::kITunesSide);
        }
    });
    const QString root = QString::fromStdString(m_dir.Path()) + "/";
    EXPECT_EQ(deletes.sides[SettingsDeletes::kITunesSide].history,
              QStringList({root + "f/", root + "b/", root + "e/", root + "d/", root + "c/"}));
    EXPECT_EQ(deletes.sides[SettingsDeletes::kITunesSide].folder, root + "f/");
}

TEST_F(FileDeletesTest, AMoveToFolderThatIsNoFolderKeepsTheSheetOpen) {
    SyncProperties properties;
    properties.lastPage = 2;
    SettingsDeletes& deletes = properties.deletes;
    deletes.sides[SettingsDeletes::kITunesSide] = {1, QStringLiteral("/no/such/folder"), {}};
    deletes.sides[SettingsDeletes::kIPodSide] = {1, QStringLiteral("/also/missing"), {}};
    SheetRun run = RunSheet(properties, [](APropertySheet&) {});
    EXPECT_TRUE(run.refused);
    EXPECT_EQ(run.messages, QStringList({SettingsDeletes::kITunesInvalid}));

    // With the library side set right, the iPod side counts only while a device is chosen.
    deletes.sides[SettingsDeletes::kITunesSide].folder = Folder("moved");
    run = RunSheet(properties, [](APropertySheet&) {});
    EXPECT_EQ(run.result, nativeui::kIdOk);
    EXPECT_FALSE(deletes.MoveCheck(SettingsDeletes::kIPodSide).isEnabled());
    deletes.podSideEnabled = 1;
    run = RunSheet(properties, [](APropertySheet&) {});
    EXPECT_EQ(run.messages, QStringList({SettingsDeletes::kIPodInvalid}));
}

class GlobalPageTest : public testing::Test {
protected:
    nativeipc::PeerAddress Peers() const { return nativeipc::PeerAddress(QString::fromStdString(home.RuntimeFolder())); }
    QLineEdit& Port(SyncProperties& properties) const { return *properties.global.findChild<QLineEdit*>("ctl_1030"); }
    std::unique_ptr<nativesettings::SettingsKey> Key() const {
        return std::make_unique<nativesettings::SettingsKey>(QString::fromStdString(home.SettingsFile()));
    }

    AppTestHome home;
};

TEST_F(GlobalPageTest, OkWritesTheServerValuesAndTellsTheServerProgram) {
    FakeHelperProgram helper(Peers());
    const HelperProgram link(Peers());
    SyncProperties properties;
    properties.lastPage = 0;
    properties.global.SetServerLink(&link, [this] { return Key(); });
    const SheetRun run = RunSheet(properties, [&](APropertySheet&) {
        Port(properties).setText(QStringLiteral("2000"));
        properties.global.findChild<QCheckBox*>("ctl_1020")->setChecked(false);
        properties.global.findChild<QCheckBox*>("ctl_1021")->setChecked(true);
    });
    ASSERT_EQ(run.result, nativeui::kIdOk);
    EXPECT_EQ(Key()->ReadDword("Server_Port"), 2000u);
    EXPECT_EQ(Key()->ReadDword("StartServer"), 0u);
    EXPECT_EQ(Key()->ReadDword("PnPRouter"), 1u);
    EXPECT_TRUE(SpinUntil([&] { return helper.Received(nativeipc::peermessage::kHelperReloadSettings); }));
}

TEST_F(GlobalPageTest, APortOutsideItsRangeIsRefused) {
    SyncProperties properties;
    properties.lastPage = 0;
    properties.global.SetServerLink(nullptr, [this] { return Key(); });
    for (const char* port : {"0", "65536", "port"}) {
        const SheetRun run = RunSheet(properties, [&](APropertySheet&) { Port(properties).setText(port); });
        EXPECT_TRUE(run.refused) << port;
        EXPECT_EQ(run.messages, QStringList({SettingsGlobal::kPortMessage})) << port;
    }
    EXPECT_FALSE(Key()->ReadDword("Server_Port").has_value());
}

TEST_F(GlobalPageTest, WithoutTheServerProgramTheRouterTestFails) {
    const HelperProgram link(Peers());
    int status = 0;
    RouterTest test(link, status);
    SyncProperties properties;
    properties.lastPage = 0;
    properties.global.pnpRouter = 1;
    properties.global.SetRouterTest(&test);
    const SheetRun run = RunSheet(properties, [&](APropertySheet&) {
        QTest::mouseClick(properties.global.findChild<QPushButton*>("ctl_1057"), Qt::LeftButton);
    });
    EXPECT_EQ(status, -1);
    EXPECT_EQ(run.messages, QStringList({RouterTest::FailureMessage()}));
    EXPECT_EQ(properties.global.natText, "Nat: Error");
    EXPECT_EQ(properties.global.ipText, "Ext. IP: Error");
}

TEST_F(GlobalPageTest, ARouterBehindAnotherRouterIsReported) {
    FakeHelperProgram helper(Peers());
    std::filesystem::create_directories(home.SyncSetsFolder());
    nativeini::PrivateProfile stat(home.SyncSetsFolder() + "/Router.stat");
    stat.WriteString("Stat", "Status", "1");
    stat.WriteString("Stat", "ExtIP", "192.168.0.5");
    stat.WriteString("Stat", "ExtPort", "10564");
    const HelperProgram link(Peers());
    int status = 0;
    RouterTest test(link, status);
    SyncProperties properties;
    properties.lastPage = 0;
    properties.global.SetRouterTest(&test);
    const SheetRun run = RunSheet(properties, [&](APropertySheet&) {
        // The server program reports while the wait runs.
        QTimer::singleShot(200, [&] { status = 1; });
        QTest::mouseClick(properties.global.findChild<QPushButton*>("ctl_1057"), Qt::LeftButton);
    });
    ASSERT_EQ(run.messages.size(), 1);
    EXPECT_TRUE(run.messages[0].startsWith("Your router is not connected directly to the internet"));
    EXPECT_EQ(properties.global.natText, "Nat: Error");
    EXPECT_EQ(properties.global.ipText, "Ext. IP: 192.168.0.5");
    EXPECT_EQ(properties.global.portText, "Ext. Port: 10564");
    EXPECT_TRUE(helper.Received(nativeipc::peermessage::kHelperTestRouter));
    EXPECT_TRUE(helper.Received(nativeipc::peermessage::kHelperWriteRouterStatus));
}

} // namespace
