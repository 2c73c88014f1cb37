// The device lists over a scripted library: the questions when the library or a volume is missing,
// the iPods listed once, names that clash, and the chooser's entries.

#include "app/devices/DeviceLists.h"
#include "foundation/ErrorCodes.h"
#include "harness/AppTestHome.h"
#include "harness/FakePod.h"
#include "widgets/QtText.h"

#include <QStringList>
#include <deque>
#include "harness/QtPrinting.h"

#include <gtest/gtest.h>

namespace {

class ScriptedPod : public LibraryPod {
public:
    explicit ScriptedPod(AString name) : m_name(std::move(name)) {}
    int GetName(AString& name) override {
        name = m_name;
        return 0;
    }
    std::vector<AString> PlayListNames() const override { return {AString("On The Go")}; }
    void SetDrive(const AString& root) override { m_drive = root; }
    AString GetDrive() const override { return m_drive; }
    int ReadPodID(const AString&, AString& id) override {
        id = AString("0BADF00D");
        return 0;
    }

private:
    AString m_name;
    AString m_drive;
};

class ScriptedLibrary : public LibraryClient {
public:
    int Reconnect() override {
        ++connects;
        return answers > 0 && answers-- ? 0 : -6;
    }
    void Disconnect() override {}
    int GetVersion(AString& text, int& number) override {
        text = AString("7.6.2");
        number = 762;
        return 0;
    }
    int LoadPlayLists() override { return 0; }
    std::vector<LibraryPlayList> PlayLists() const override { return {}; }
    int CreatePlayList(const AString&) override { return 0; }
    int GetPodCount(int& count) override {
        count = static_cast<int>(pods.size());
        return 0;
    }
    int OpenPod(int index, std::unique_ptr<LibraryPod>& pod) override {
        pod = std::make_unique<ScriptedPod>(AString(pods[index].c_str()));
        return 0;
    }

    int answers = 1000;
    int connects = 0;
    std::vector<std::string> pods;
};

class ScriptedHost : public DeviceListHost {
public:
    bool AskRetry(const QString& text) override {
        questions.push_back(text);
        if (retries.empty())
            return false;
        const bool retry = retries.front();
        retries.pop_front();
        return retry;
    }
    void RequestExit() override { exitRequested = true; }
    bool CloseRequested() const override { return exitRequested; }
    void LogWarning(const AString& line) override { log.push_back(ToQString(line)); }

    std::deque<bool> retries;
    QStringList questions;
    QStringList log;
    bool exitRequested = false;
};

class DeviceListsTest : public testing::Test {
protected:
    void Mount(const std::string& folder, const std::u16string& name) {
        const std::string root = home.Folder().File(folder);
        WriteFakePod(root, {name, {u"Favourites"}, 1, "", false});
        home.MountVolume(root);
    }
    QStringList Texts(const ChooserEntries& entries) const {
        QStringList texts;
        for (const ChooserEntry& entry : entries)
            texts.append(entry.text);
        return texts;
    }

    AppTestHome home;
    ScriptedLibrary library;
    ScriptedHost host;
};

TEST_F(DeviceListsTest, ALibraryThatNeverAnswersIsAskedAboutUntilTheUserGivesUp) {
    library.answers = 0;
    host.retries = {true, true};
    DeviceLists lists(&library);
    EXPECT_EQ(lists.Update(host), 0);
    EXPECT_FALSE(lists.IsLibraryDetected());
    EXPECT_EQ(library.connects, 3);
    ASSERT_EQ(host.questions.size(), 3);
    EXPECT_TRUE(host.questions[0].startsWith("There was a problem communicating with iTunes."));
    EXPECT_TRUE(host.exitRequested);
}

TEST_F(DeviceListsTest, ListsEachIPodOnceAndTheDatabasesTheLibraryDoesNotShow) {
    Mount("a", u"Walkman");
    Mount("b", u"Spare");
    library.pods = {"Walkman"};
    DeviceLists lists(&library);
    ASSERT_EQ(lists.Update(host), 0);
    ASSERT_EQ(lists.Pods().size(), 1u);
    EXPECT_EQ(lists.Pods()[0].drive.ToUtf8(), home.Folder().File("a") + "/");
    EXPECT_EQ(lists.Pods()[0].playLists.size(), 1u);
    const ChooserEntries entries = lists.MakeChooserEntries({}, host, false);
    // The library's iPod gave its identifier; the volume's own reading of it differs, so the
    // database of "a" is a device of its own only when the identifiers differ.
    EXPECT_EQ(entries.front().text, "Walkman");
    EXPECT_EQ(entries.front().kind, ChooserKind::LibraryPod);
    EXPECT_TRUE(Texts(entries).contains("Spare"));
    EXPECT_EQ(Texts(entries).back(), "Connect to Remote");
}

TEST_F(DeviceListsTest, AnIPodWithoutItsVolumeIsAskedAboutAndLeftOutOnCancel) {
    library.pods = {"Elsewhere"};
    DeviceLists lists(&library);
    ASSERT_EQ(lists.Update(host), 0);
    EXPECT_TRUE(lists.Pods().empty());
    ASSERT_EQ(host.questions.size(), 1);
    EXPECT_TRUE(host.questions[0].startsWith("Failed to find volume for iPod \"Elsewhere\"."));
    EXPECT_EQ(host.log, QStringList({"Failed to find volume for iPod \"Elsewhere\", ignoring iPod. \r\n)"}));

    host.retries = {true};
    host.questions.clear();
    library.connects = 0;
    ASSERT_EQ(lists.Update(host), 0);
    EXPECT_EQ(library.connects, 2); // Retry scans everything again
}

TEST_F(DeviceListsTest, TwoIPodsWhoseNamesDifferOnlyInCaseClash) {
    Mount("a", u"Music");
    Mount("b", u"music");
    DeviceLists lists(&library);
    ASSERT_EQ(lists.Update(host), 0);
    const std::optional<AString> shared = lists.SharedPodName();
    ASSERT_TRUE(shared.has_value());
    EXPECT_EQ(DeviceLists::DuplicateNameMessage(*shared),
              "More than 1 iPod with the name \"Music\" was found.\niPods must have unique names for Orvantis "
              "to function properly.\n)After making the approprate changes, run Orvantis again.");
}

TEST_F(DeviceListsTest, TheChooserEndsWithHostsAndConnectToRemote) {
    DeviceLists lists(&library);
    ASSERT_EQ(lists.Update(host), 0);
    EXPECT_EQ(Texts(lists.MakeChooserEntries({}, host, false)), QStringList({"Connect to Remote"}));
    const ChooserEntries entries = lists.MakeChooserEntries({{"studio", "10.0.0.2", 0}, {"den", "10.0.0.3", 0}},
                                                            host, false);
    EXPECT_EQ(Texts(entries), QStringList({"iTunes on studio", "iTunes on den", "AComboBox_SEPARATOR",
                                           "Connect to Remote"}));
    EXPECT_EQ(entries[1].index, 1);
    EXPECT_EQ(LastHostEntry(entries), 1);
}

TEST(LastHostEntryTest, NeedsAHostThreePlacesFromTheEnd) {
    EXPECT_EQ(LastHostEntry({ChooserEntry::Connect()}), -1);
    EXPECT_EQ(LastHostEntry({ChooserEntry::Separator(), ChooserEntry::Separator(), ChooserEntry::Connect()}), -1);
    EXPECT_EQ(LastHostEntry({{QStringLiteral("iPod"), ChooserKind::PodDatabase, 0, {}}, ChooserEntry::Separator(),
                             ChooserEntry::Connect()}),
              -1);
    EXPECT_EQ(LastHostEntry({ChooserEntry::Host("h", 0), ChooserEntry::Separator(), ChooserEntry::Connect()}), 0);
}

} // namespace
