#include "app/state/HelperProgram.h"
#include "harness/AppTestHome.h"
#include "harness/FakeHelperProgram.h"
#include "platform/shell/Shell.h"

#include <gtest/gtest.h>
#include <vector>

namespace {

struct RecordingShell : nativeshell::Shell {
    bool OpenPage(const QString&) override { return true; }
    bool OpenPath(const QString&) override { return true; }
    bool StartProgram(const QString& program, const QStringList&) override {
        started.push_back(program);
        return true;
    }
    bool MailFile(const QString&) override { return true; }
    std::vector<QString> started;
};

TEST(HelperProgramStartTest, TheServerProgramBesideTheMainProgramIsStartedOnlyWhenItIsNotRunning) {
    AppTestHome home;
    const nativeipc::PeerAddress peers(QString::fromStdString(home.RuntimeFolder()));
    RecordingShell shell;
    HelperProgram(peers).StartIfAbsent(shell, QStringLiteral("/opt/orvantis"));
    ASSERT_EQ(shell.started.size(), 1u);
    EXPECT_EQ(shell.started[0], QStringLiteral("/opt/orvantis/OrvantisHelper"));

    FakeHelperProgram running(peers);
    HelperProgram(peers).StartIfAbsent(shell, QStringLiteral("/opt/orvantis"));
    EXPECT_EQ(shell.started.size(), 1u);
}

} // namespace
