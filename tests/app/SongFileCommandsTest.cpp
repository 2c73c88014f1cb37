// Choosing and dropping song files (the selection's root and entries, the dialog's filter and
// answers), and the help and web pages opened through a shell that records them.

#include "app/commands/HelpPages.h"
#include "app/commands/SongFileDialog.h"
#include "app/commands/SongFileSelection.h"
#include "harness/QtPrinting.h"
#include "harness/RecordingShell.h"
#include "support/AStringPrinting.h"
#include "support/TempDir.h"
#include "widgets/AFileDialog.h"
#include "widgets/FileChooser.h"

#include <QFileInfo>
#include <filesystem>
#include <gtest/gtest.h>

namespace {

std::vector<AString> Texts(std::initializer_list<const char*> texts) {
    std::vector<AString> result;
    for (const char* text : texts)
        result.emplace_back(text);
    return result;
}

// Answers with its paths, or a cancel, and remembers the request.
class ScriptedChooser : public FileChooser {
public:
    explicit ScriptedChooser(std::optional<QStringList> answer) : m_answer(std::move(answer)) {
        AFileDialog::SetChooser(this);
    }
    ~ScriptedChooser() override { AFileDialog::SetChooser(nullptr); }
    std::optional<QStringList> Choose(const FileChooserRequest& request) override {
        requests.push_back(request);
        return m_answer;
    }
    std::vector<FileChooserRequest> requests;

private:
    std::optional<QStringList> m_answer;
};

} // namespace

TEST(SongFileSelectionTest, TheRootIsTheDeepestFolderHoldingEveryPath) {
    struct Case {
        const char* what;
        std::vector<AString> paths;
        const char* root;
        std::vector<AString> entries;
    };
    const Case cases[] = {
        {"one file", Texts({"/m/Rock/a.mp3"}), "/m/Rock", Texts({"a.mp3"})},
        {"files of one folder", Texts({"/m/Rock/a.mp3", "/m/Rock/b.m4a"}), "/m/Rock",
         Texts({"a.mp3", "b.m4a"})},
        {"a folder", Texts({"/m/Rock/"}), "/m", Texts({"Rock"})},
        {"several folders", Texts({"/m/Rock/a.mp3", "/m/Pop/Live/b.mp3", "/m/Jazz"}), "/m",
         Texts({"Rock/a.mp3", "Pop/Live/b.mp3", "Jazz"})},
        {"a file and a folder above it", Texts({"/m/Rock/Live/a.mp3", "/m/Rock"}), "/m",
         Texts({"Rock/Live/a.mp3", "Rock"})},
        {"names sharing their first letters", Texts({"/m/ab/a.mp3", "/m/abc/b.mp3"}), "/m",
         Texts({"ab/a.mp3", "abc/b.mp3"})},
        {"nothing in common", Texts({"/a/x.mp3", "/b/y.mp3"}), "/", Texts({"a/x.mp3", "b/y.mp3"})},
        {"a file in the top folder", Texts({"/x.mp3"}), "/", Texts({"x.mp3"})},
        {"doubled separators", Texts({"/m//Rock/a.mp3", "/m/Rock//b.mp3"}), "/m/Rock",
         Texts({"a.mp3", "b.mp3"})},
        {"relative and empty paths left out", Texts({"", "Rock/a.mp3", "/m/Pop/b.mp3"}), "/m/Pop",
         Texts({"b.mp3"})},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const std::optional<SongFileSelection> selection = SongFileSelection::FromPaths(c.paths);
        ASSERT_TRUE(selection);
        EXPECT_EQ(selection->root, AString(c.root));
        EXPECT_EQ(selection->entries, c.entries);
        for (size_t i = 0; i < c.entries.size(); ++i)
            EXPECT_EQ(selection->FullPath(selection->entries[i]).Find(c.root), 0);
    }
    EXPECT_FALSE(SongFileSelection::FromPaths({}));
    EXPECT_FALSE(SongFileSelection::FromPaths(Texts({"", "relative.mp3", "/"})));
}

TEST(SongFileDialogTest, TheFilterOffersSongTypesAndVideoWhereTheTargetPlaysIt) {
    EXPECT_EQ(AFileDialog::ToNameFilters(SongFileDialog::Filter(false)),
              QStringList{QStringLiteral("All valid File Types (*.mp3 *.m4p *.m4a *.m4b *.aac)")});
    EXPECT_EQ(AFileDialog::ToNameFilters(SongFileDialog::Filter(true)),
              QStringList{
                  QStringLiteral("All valid File Types (*.mp3 *.m4p *.m4a *.m4b *.aac *.m4v *.mp4 *.ipg)")});
    EXPECT_EQ(SongFileDialog::Filter(false),
              QStringLiteral("All valid File Types|*.mp3;*.m4p;*.m4a;*.m4b;*.aac||"));
    EXPECT_EQ(SongFileDialog::TypeList(true), AString(":mp3:m4p:m4a:m4b:aac:m4v:mp4:ipg:"));
    EXPECT_TRUE(SongFileDialog::LibraryTakesVideo());
    EXPECT_TRUE(SongFileDialog::PodTakesVideo(4));
    for (const uint32_t family : {0U, 1U, 3U, 5U})
        EXPECT_FALSE(SongFileDialog::PodTakesVideo(family)) << family;
}

TEST(SongFileDialogTest, TheChosenFilesBecomeASelectionAndACancelNone) {
    const TempDir dir;
    std::filesystem::create_directories(dir.File("Rock"));
    const QString folder = QString::fromStdString(dir.File("Rock"));
    const AString root = AString::FromUtf8(dir.File("Rock"));
    {
        ScriptedChooser chooser(QStringList{folder + "/a.mp3"});
        const std::optional<SongFileSelection> one = SongFileDialog::Run(nullptr, false, folder);
        ASSERT_TRUE(one);
        EXPECT_EQ(one->root, root);
        EXPECT_EQ(one->entries, Texts({"a.mp3"}));
        ASSERT_EQ(chooser.requests.size(), 1U);
        const FileChooserRequest& request = chooser.requests[0];
        EXPECT_TRUE(request.open);
        EXPECT_TRUE(request.multipleFiles);
        EXPECT_TRUE(request.showHidden);
        EXPECT_EQ(request.title, QStringLiteral("Select Music File(s)"));
        EXPECT_EQ(request.nameFilters, AFileDialog::ToNameFilters(SongFileDialog::Filter(false)));
        EXPECT_EQ(request.folder, folder);
    }
    {
        ScriptedChooser chooser(QStringList{folder + "/a.mp3", folder + "/b.m4a"});
        const std::optional<SongFileSelection> several = SongFileDialog::Run(nullptr, true, QString());
        ASSERT_TRUE(several);
        EXPECT_EQ(several->root, root);
        EXPECT_EQ(several->entries, Texts({"a.mp3", "b.m4a"}));
        EXPECT_EQ(chooser.requests[0].nameFilters, AFileDialog::ToNameFilters(SongFileDialog::Filter(true)));
    }
    ScriptedChooser cancelled(std::nullopt);
    EXPECT_FALSE(SongFileDialog::Run(nullptr, false, QString()));
}

TEST(HelpPagesTest, TheHelpPageLiesBesideTheProgramAndTheWebPagesOpenAsPages) {
    EXPECT_EQ(HelpPages::HelpPagePath(QStringLiteral("/opt/orvantis")),
              QStringLiteral("/opt/orvantis/html/orvantis_help.htm"));
    EXPECT_EQ(HelpPages::HelpPagePath(QStringLiteral("/opt/orvantis/")),
              QStringLiteral("/opt/orvantis/html/orvantis_help.htm"));
    // The page of the source tree is the one copied beside the program.
    EXPECT_TRUE(QFileInfo::exists(HelpPages::HelpPagePath(QStringLiteral(ORVANTIS_HTML "/.."))));

    RecordingShell shell;
    EXPECT_TRUE(HelpPages::OpenHelp(shell, QStringLiteral("/opt/orvantis")));
    EXPECT_EQ(shell.paths, QStringList{QStringLiteral("/opt/orvantis/html/orvantis_help.htm")});
    EXPECT_TRUE(HelpPages::OpenReportProblem(shell));
    EXPECT_TRUE(HelpPages::OpenOtherProducts(shell));
    ASSERT_EQ(shell.pages.size(), 2);
    EXPECT_EQ(shell.pages[0], QLatin1String(HelpPages::kReportProblemAddress));
    EXPECT_EQ(shell.pages[1], QLatin1String(HelpPages::kOtherProductsAddress));
    for (const QString& page : shell.pages)
        EXPECT_TRUE(page.startsWith(QStringLiteral("https://"))) << page.toStdString();
}
