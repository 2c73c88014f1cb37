#include "library/tools/ToolRun.h"

#include "foundation/AProgress.h"
#include "foundation/ErrorCodes.h"
#include "library/songlists/ADirSong.h"
#include "library/tools/ToolActionPerformer.h"
#include "library/tools/ToolScan.h"

ToolRun::ToolRun(ADirSong& source, const ToolDescription& tool, const CancelCallback& callback,
                 uint32_t verbose)
    : m_source(source), m_tool(tool), m_callback(callback), m_verbose(verbose) {}

AProgress& ToolRun::Progress() {
    return m_source.GetProgress();
}

int ToolRun::Run(ToolScan& scan) {
    ASemaphore& lock = m_source.GetLock();
    if (!lock.TryLock())
        return kErrorBusy;
    const int result = ScanAndConfirm(scan);
    lock.Unlock();
    return result;
}

int ToolRun::ScanAndConfirm(ToolScan& scan) {
    if (const char* refusal = scan.Refusal(m_source)) {
        Progress().Message(AString(refusal), true);
        return 0;
    }
    const AString scanText(m_tool.scanText);
    Progress().Start(&scanText, true, true);
    m_source.ClearToolActions();
    Progress().PushRange(m_tool.scanShare);
    m_source.Sort(1);
    const int result = scan.Run(*this);
    EndScan(result);
    if (result != 0)
        return result;
    if (m_source.GetToolActions().empty()) {
        Progress().Message(AString(m_tool.nothingFound), true);
        return 0;
    }
    return ConfirmAndPerform();
}

// The rows found before a cancel or an error stay with the list until the next tool.
void ToolRun::EndScan(int result) {
    if (result == 0) {
        const AString ready("Ready.");
        Progress().Finish(&ready);
        return;
    }
    const AString text(result == kUserCancel ? "User Cancelled." : m_tool.errorEnd);
    Progress().Finish(m_verbose ? &text : nullptr);
}

int ToolRun::ConfirmAndPerform() {
    const AString preparing("Preparing action list...");
    Progress().SetPos(-1.0, &preparing, &preparing);
    const int answer = m_source.ShowToolActionList(m_tool.kind);
    if (answer != 0) {
        const AString text(m_tool.notConfirmed);
        Progress().SetPos(-1.0, &text, &text, &text, m_source.GetLogTime() != 0);
        return answer;
    }
    return PerformConfirmed();
}

// Once a row was performed the library changed: its database is written whatever the performing ended
// with, so that a cancel or an error after some rows never leaves the files and the database apart.
int ToolRun::PerformConfirmed() {
    Progress().Start();
    ToolActionPerformer performer(m_source, m_callback);
    const int result = performer.Perform();
    Progress().Finish();
    m_source.ClearToolActions();
    if (performer.PerformedCount() == 0)
        return result;
    const int saved = m_source.SaveDatabase();
    Progress().LogError(saved, AString("Saving the database after the tool's actions"), AString());
    return result != 0 ? result : saved;
}

bool ToolRun::Cancelled() const {
    return m_callback && m_callback();
}

void ToolRun::ShowStep(int step, int count) {
    const AString text = AString::FromInt(step) + " of " + AString::FromInt(m_source.GetCount());
    Progress().SetPos(double(step) / count, nullptr, m_verbose ? &text : nullptr);
}

void ToolRun::LogLine(double position, const AString& text) {
    Progress().SetPos(position, nullptr, &text, &text, m_source.GetLogTime() != 0);
}

SongToolAction& ToolRun::AddSongRow(const AString& entry) {
    auto row = std::make_unique<SongToolAction>();
    row->kind = m_tool.kind;
    row->entry = entry;
    m_source.BuildDisplayString(row->displayText, entry, -1, 0);
    return *m_source.GetToolActions().emplace_back(std::move(row));
}

SongToolAction& ToolRun::AddFileRow(const AString& path) {
    auto row = std::make_unique<SongToolAction>();
    row->kind = m_tool.kind;
    row->entry = path;
    row->displayText = path;
    return *m_source.GetToolActions().emplace_back(std::move(row));
}
