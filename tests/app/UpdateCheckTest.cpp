// The update check against a loopback HTTP server: the description compared with the own version,
// the update downloaded whole into the private folder and only opened there, and every hostile answer
// ending in the failure text with nothing written beside the private folder.

#include "app/network/CCheckUpdateDiag.h"
#include "app/network/UpdateChecker.h"
#include "platform/shell/Shell.h"
#include "support/LoopbackHttpServer.h"
#include "support/TempDir.h"
#include "widgets/WidgetTestSupport.h"

#include <QElapsedTimer>
#include <QPushButton>
#include <filesystem>
#include <gtest/gtest.h>
#include <set>
#include <sys/stat.h>

using Answer = LoopbackHttpServer::Answer;
using namespace std::chrono_literals;

namespace {

constexpr uint32_t kOwnVersion = 10;
constexpr uint64_t kUpdateSize = 5000;

struct RecordingShell : nativeshell::Shell {
    bool OpenPage(const QString&) override { return true; }
    bool OpenPath(const QString& path) override {
        opened.push_back(path);
        return true;
    }
    bool StartProgram(const QString& program, const QStringList&) override {
        started.push_back(program);
        return true;
    }
    bool MailFile(const QString&) override { return true; }
    QStringList opened;
    QStringList started;
};

Answer Description(const std::string& version, const std::string& size, const std::string& file) {
    return {200, "[Update]\r\nversion=" + version + "\r\nsize=" + size + "\r\nupdatefile=" + file + "\r\n", {}, {}, true, {}};
}

Answer Description(uint32_t version) {
    return Description(std::to_string(version), std::to_string(kUpdateSize), "OrvantisSetup.run");
}

class UpdateCheckTest : public testing::Test {
protected:
    UpdateCheckTest() {
        mkdir(folder.c_str(), 0700);
        UpdateChecker::Operations operations;
        operations.newVersionFound = [this] { ++newVersions; };
        operations.closeProgram = [this] { ++closes; };
        operations.shell = &shell;
        checker = std::make_unique<UpdateChecker>(QString::fromStdString(server.Url("")), folder, kOwnVersion,
                                                  std::move(operations));
        checker->SetDialogTick(10);
        checker->SetStallLimit(300ms);
    }

    // Opens the dialog and waits until its work has ended, or stops at the offer.
    QString Check() {
        checker->ShowDialog();
        EXPECT_TRUE(SpinUntil([&] {
            const int state = checker->State();
            return state == UpdateChecker::kFinished || state == UpdateChecker::kOffered;
        }, 10s));
        return checker->Dialog()->Text();
    }
    QString Download() {
        checker->Dialog()->ActionButton().click();
        EXPECT_TRUE(SpinUntil([&] { return checker->State() == UpdateChecker::kFinished; }, 10s));
        return checker->Dialog()->Text();
    }
    void Close() {
        if (CCheckUpdateDiag* dialog = checker->Dialog())
            dialog->reject();
    }
    // Every file the check left in the test's folder, below the private folder or not.
    std::set<std::string> FilesLeft() const {
        std::set<std::string> files;
        for (const auto& entry : std::filesystem::recursive_directory_iterator(dir.Path())) {
            if (entry.is_regular_file())
                files.insert(std::filesystem::relative(entry.path(), dir.Path()).string());
        }
        return files;
    }

    TempDir dir;
    std::string folder = dir.File("Update");
    LoopbackHttpServer server;
    RecordingShell shell;
    int newVersions = 0;
    int closes = 0;
    std::unique_ptr<UpdateChecker> checker;
};

TEST_F(UpdateCheckTest, ANewerVersionIsOfferedAnEqualOrOlderOneIsNot) {
    const struct {
        uint32_t version;
        const char* text;
    } cases[] = {
        {11, CCheckUpdateDiag::kUpdateAvailable},
        {10, CCheckUpdateDiag::kNoUpdate},
        {9, CCheckUpdateDiag::kNoUpdate},
    };
    for (const auto& c : cases) {
        server.Set(UpdateChecker::kDescriptionPath, Description(c.version));
        EXPECT_EQ(Check(), QLatin1String(c.text)) << c.version;
        EXPECT_EQ(checker->Dialog()->ActionButton().isVisible(), c.version > kOwnVersion) << c.version;
        Close();
    }
}

TEST_F(UpdateCheckTest, AWholeDownloadIsOnlyOpenedInItsFolder) {
    server.Set(UpdateChecker::kDescriptionPath, Description(11));
    server.Set("/OrvantisSetup.run", {200, std::string(kUpdateSize, 'u'), {}, {}, true, {}});
    ASSERT_EQ(Check(), QLatin1String(CCheckUpdateDiag::kUpdateAvailable));
    EXPECT_EQ(Download(), QLatin1String(CCheckUpdateDiag::kReady));
    EXPECT_EQ(checker->Dialog()->ActionButton().text(), QLatin1String(CCheckUpdateDiag::kInstall));
    EXPECT_EQ(std::filesystem::file_size(folder + "/OrvantisSetup.run"), kUpdateSize);
    checker->Dialog()->ActionButton().click();
    EXPECT_EQ(shell.opened, QStringList{QString::fromStdString(folder)});
    EXPECT_TRUE(shell.started.isEmpty());
    EXPECT_EQ(closes, 1);
    EXPECT_EQ(checker->Dialog(), nullptr);
    EXPECT_EQ(FilesLeft(), (std::set<std::string>{"Update/OrvantisSetup.run", "Update/up.ini"}));
}

TEST_F(UpdateCheckTest, EveryHostileDescriptionShowsTheFailureText) {
    const struct {
        const char* label;
        Answer answer;
    } cases[] = {
        {"missing", {404, "gone", {}, {}, true, {}}},
        {"huge", {200, "[Update]\r\nversion=11\r\n" + std::string(70 * 1024, ';'), {}, {}, true, {}}},
        {"endless", {200, "[Update]\r\n", {}, {}, false, Answer::Ending::Endless}},
        {"cut", {200, "[Update]\r\nversion=11\r\n", {}, 400, true, {}}},
        {"stall", {200, "[Update]\r\n", {}, 400, true, Answer::Ending::Stall}},
        {"loop", {302, "", {{"Location", UpdateChecker::kDescriptionPath}}, {}, true, {}}},
        {"elsewhere", {302, "", {{"Location", "http://updates.example/update10.ini"}}, {}, true, {}}},
        {"word version", Description("eleven", "5000", "OrvantisSetup.run")},
        {"signed size", Description("11", "-5000", "OrvantisSetup.run")},
        {"trailing text", Description("11", "5000kb", "OrvantisSetup.run")},
        {"no size", Description("11", "0", "OrvantisSetup.run")},
        {"parent name", Description("11", "5000", "../OrvantisSetup.run")},
        {"absolute name", Description("11", "5000", "/tmp/OrvantisSetup.run")},
        {"folder name", Description("11", "5000", "bin/OrvantisSetup.run")},
        {"dot name", Description("11", "5000", "..")},
    };
    for (const auto& c : cases) {
        server.Set(UpdateChecker::kDescriptionPath, c.answer);
        EXPECT_EQ(Check(), QLatin1String(CCheckUpdateDiag::kCheckFailed)) << c.label;
        EXPECT_FALSE(checker->Dialog()->ActionButton().isVisible()) << c.label;
        Close();
        const std::set<std::string> left = FilesLeft();
        EXPECT_TRUE(left.empty() || left == std::set<std::string>{"Update/up.ini"}) << c.label;
    }
}

TEST_F(UpdateCheckTest, EveryHostileDownloadShowsTheFailureTextAndLeavesNoFile) {
    server.Set(UpdateChecker::kDescriptionPath, Description(11));
    const struct {
        const char* label;
        Answer answer;
    } cases[] = {
        {"missing", {404, "gone", {}, {}, true, {}}},
        {"shorter", {200, std::string(kUpdateSize - 1, 'u'), {}, {}, true, {}}},
        {"longer", {200, std::string(kUpdateSize + 1, 'u'), {}, {}, true, {}}},
        {"longer unannounced", {200, std::string(kUpdateSize + 1, 'u'), {}, {}, false, {}}},
        {"cut", {200, std::string(100, 'u'), {}, kUpdateSize, true, {}}},
        {"endless", {200, "", {}, {}, false, Answer::Ending::Endless}},
        {"stall", {200, "uu", {}, kUpdateSize, true, Answer::Ending::Stall}},
    };
    for (const auto& c : cases) {
        server.Set("/OrvantisSetup.run", c.answer);
        ASSERT_EQ(Check(), QLatin1String(CCheckUpdateDiag::kUpdateAvailable)) << c.label;
        EXPECT_EQ(Download(), QLatin1String(CCheckUpdateDiag::kDownloadFailed)) << c.label;
        EXPECT_FALSE(checker->Dialog()->ActionButton().isVisible()) << c.label;
        Close();
        EXPECT_EQ(FilesLeft(), std::set<std::string>{"Update/up.ini"}) << c.label;
    }
}

TEST_F(UpdateCheckTest, CancelNeverWaitsAndASecondCheckOnlyShowsTheOpenWindow) {
    server.Set(UpdateChecker::kDescriptionPath, {200, "[Update]\r\n", {}, 400, true, Answer::Ending::Stall});
    checker->SetStallLimit(60s);
    checker->ShowDialog();
    CCheckUpdateDiag* first = checker->Dialog();
    checker->ShowDialog();
    EXPECT_EQ(checker->Dialog(), first);
    SpinFor(100ms);
    QElapsedTimer timer;
    timer.start();
    first->reject();
    EXPECT_LT(timer.elapsed(), 100);
    EXPECT_EQ(checker->Dialog(), nullptr);
    // The next check starts once the cancelled one has let go.
    server.Set(UpdateChecker::kDescriptionPath, Description(10));
    EXPECT_EQ(Check(), QLatin1String(CCheckUpdateDiag::kNoUpdate));
}

TEST_F(UpdateCheckTest, TheDailyCheckTellsOfANewerVersionAndIsSilentOnFailure) {
    server.Set(UpdateChecker::kDescriptionPath, {500, "broken", {}, {}, true, {}});
    checker->StartDailyCheck();
    ASSERT_TRUE(SpinUntil([&] { return !server.RequestedPaths().empty(); }));
    checker->StopDailyCheck();
    EXPECT_EQ(newVersions, 0);

    server.Set(UpdateChecker::kDescriptionPath, Description(11));
    UpdateChecker::Operations operations;
    operations.newVersionFound = [this] { ++newVersions; };
    UpdateChecker daily(QString::fromStdString(server.Url("")), folder, kOwnVersion, std::move(operations));
    daily.StartDailyCheck();
    EXPECT_TRUE(SpinUntil([&] { return newVersions == 1; }));
}

} // namespace
