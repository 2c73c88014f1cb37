#include "platform/shell/DesktopShell.h"

#include "support/PercentEncodedPath.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

using nativeshell::DesktopShell;
using nativeshell::ShellCommand;

namespace nativeshell {
void PrintTo(const ShellCommand& command, std::ostream* out) {
    *out << command.program.toStdString() << " " << command.arguments.join(' ').toStdString();
}
} // namespace nativeshell

namespace {

class DesktopShellTest : public testing::Test {
protected:
    DesktopShellTest()
        : m_shell([this](const ShellCommand& command) {
              m_started.push_back(command);
              return m_canStart;
          }) {}

    QString Path(const std::string& name) const { return QString::fromStdString(m_dir.File(name)); }

    TempDir m_dir;
    std::vector<ShellCommand> m_started;
    bool m_canStart = true;
    DesktopShell m_shell;
};

TEST_F(DesktopShellTest, OpensPagesByTheirAddressOnly) {
    EXPECT_TRUE(m_shell.OpenPage("https://example.org/help?a=b c"));
    EXPECT_TRUE(m_shell.OpenPage("HTTP://example.org/"));
    EXPECT_FALSE(m_shell.OpenPage("--help"));
    EXPECT_FALSE(m_shell.OpenPage("example.org/help"));
    EXPECT_FALSE(m_shell.OpenPage("javascript:alert(1)"));
    EXPECT_FALSE(m_shell.OpenPage(""));
    EXPECT_EQ(m_started, (std::vector<ShellCommand>{{"xdg-open", {"https://example.org/help?a=b%20c"}},
                                                    {"xdg-open", {"http://example.org/"}}}));
}

TEST_F(DesktopShellTest, OpensFilesAndFoldersAsFileAddresses) {
    WriteText(m_dir.File("-rf OV_About.html"), "<html/>");
    EXPECT_TRUE(m_shell.OpenPath(Path("-rf OV_About.html")));
    EXPECT_TRUE(m_shell.OpenPath(QString::fromStdString(m_dir.Path())));
    EXPECT_FALSE(m_shell.OpenPath(Path("missing.html")));
    const QString folder = QString::fromStdString("file://" + PercentEncodedPath(m_dir.Path()));
    EXPECT_EQ(m_started, (std::vector<ShellCommand>{{"xdg-open", {folder + "/-rf%20OV_About.html"}},
                                                    {"xdg-open", {folder}}}));
}

TEST_F(DesktopShellTest, StartsProgramsWithTheirArguments) {
    EXPECT_TRUE(m_shell.StartProgram("/opt/orvantis/Orvantis", {"-ar", "5"}));
    EXPECT_FALSE(m_shell.StartProgram("", {}));
    m_canStart = false;
    EXPECT_FALSE(m_shell.StartProgram("/opt/orvantis/OrvantisHelper", {}));
    EXPECT_EQ(m_started, (std::vector<ShellCommand>{{"/opt/orvantis/Orvantis", {"-ar", "5"}},
                                                    {"/opt/orvantis/OrvantisHelper", {}}}));
}

TEST_F(DesktopShellTest, MailsExistingFilesAsAttachments) {
    WriteText(m_dir.File("HOMEPC.txfig"), "[Stat]\n");
    EXPECT_TRUE(m_shell.MailFile(Path("HOMEPC.txfig")));
    EXPECT_FALSE(m_shell.MailFile(Path("missing.txfig")));
    EXPECT_FALSE(m_shell.MailFile(QString::fromStdString(m_dir.Path())));
    EXPECT_EQ(m_started, (std::vector<ShellCommand>{{"xdg-email", {"--attach", Path("HOMEPC.txfig")}}}));
}

} // namespace
