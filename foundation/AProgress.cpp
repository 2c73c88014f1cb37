#include "foundation/AProgress.h"

#include "foundation/ErrorTexts.h"
#include "foundation/HeadlessUserInterface.h"
#include "foundation/ProgressLogView.h"
#include "foundation/ProgressStatusView.h"
#include "foundation/ProgressUserInterface.h"

#include <atomic>
#include <cstdio>
#include <ctime>

namespace {

constexpr double kPositionLimit = 1.001;
constexpr const char* kLineEnd = "\r\n";
constexpr const char* kMonthNames[] = {"January", "February", "March",     "April",   "May",      "June",
                                       "July",    "August",   "September", "October", "November", "December"};

std::atomic<ProgressUserInterface*> g_userInterface{nullptr};

bool HasText(const AString* text) {
    return text && !text->IsEmpty();
}

// Month names stay English whatever locale the program runs in.
AString TimeStamp() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char stamp[64];
    std::snprintf(stamp, sizeof stamp, "%04d %s %02d - %02d:%02d:%02d: ", local.tm_year + 1900,
                  kMonthNames[local.tm_mon], local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec);
    return AString(stamp);
}

} // namespace

AProgress::AProgress() {
    ResetRanges();
}

void AProgress::ResetRanges() {
    std::lock_guard lock(m_stateLock);
    m_ranges.clear();
    m_current = 0.0;
}

void AProgress::PushRangeValues(double fraction) {
    std::lock_guard lock(m_stateLock);
    const double scale = (m_ranges.empty() ? 1.0 : m_ranges.back().scale) * fraction;
    m_ranges.push_back({m_current, scale, m_current + scale});
}

void AProgress::PopRangeValues() {
    std::lock_guard lock(m_stateLock);
    if (m_ranges.empty())
        return;
    m_current = m_ranges.back().end;
    m_ranges.pop_back();
}

double AProgress::MapToOverall(double fraction) const {
    if (fraction < 0)
        return fraction;
    if (fraction >= kPositionLimit)
        fraction = 1.0;
    std::lock_guard lock(m_stateLock);
    if (!m_ranges.empty())
        return m_ranges.back().savedPosition + m_ranges.back().scale * fraction;
    return m_current + (1.0 - m_current) * fraction;
}

double AProgress::GetCurrentPosition() const {
    std::lock_guard lock(m_stateLock);
    return m_current;
}

bool AProgress::IsRunning() const {
    std::lock_guard lock(m_stateLock);
    return m_running;
}

ProgressStatusView* AProgress::Status() const {
    std::lock_guard lock(m_stateLock);
    return m_status;
}

void AProgress::LogStep(const AString* text, bool logTime) {
    if (logTime)
        LogTime(!HasText(text), false);
    if (HasText(text)) {
        Log(*text);
        Log(kLineEnd, true);
    } else if (logTime) {
        FlushLog();
    }
}

void AProgress::ShowPosition(double position) {
    if (ProgressStatusView* status = Status())
        status->SetPos(position);
}

void AProgress::ShowStatus(const AString* line1, const AString* line2) {
    if (ProgressStatusView* status = Status())
        status->SetStatus(ProgressStatusView::kProgressBar, line1, line2, false);
}

void AProgress::ShowRangeText(const AString* text, bool showText) {
    const AString empty;
    if (showText && HasText(text))
        ShowStatus(text, &empty);
    else
        ShowStatus(nullptr, nullptr);
}

void AProgress::Start(const AString* text, bool logTime, bool showText) {
    const bool wasRunning = IsRunning();
    if (!wasRunning)
        ResetRanges();
    const double position = MapToOverall(0.0);
    LogStep(text, logTime);
    if (ProgressStatusView* status = Status()) {
        status->SetRange(1.0);
        if (!wasRunning)
            status->SetPos(position);
    }
    const bool show = showText && HasText(text);
    ShowStatus(show ? text : nullptr, show ? text : nullptr);
    StartStatusTimer();
    std::lock_guard lock(m_stateLock);
    m_running = true;
}

void AProgress::Finish(const AString* text, bool logTime, bool showText) {
    const bool wasRunning = IsRunning();
    double position = 0.0;
    if (wasRunning) {
        position = MapToOverall(1.0);
        ResetRanges();
    }
    LogStep(text, logTime);
    StopStatusTimer();
    if (wasRunning)
        ShowPosition(position);
    const bool show = showText && HasText(text);
    ShowStatus(show ? text : nullptr, show ? text : nullptr);
    std::lock_guard lock(m_stateLock);
    m_running = false;
}

void AProgress::PushRange(double fraction, const AString* text, bool logTime, bool showText) {
    PushRangeValues(fraction);
    ShowPosition(MapToOverall(0.0));
    LogStep(text, logTime);
    ShowRangeText(text, showText);
}

void AProgress::PopRange(const AString* text, bool logTime, bool showText) {
    {
        std::lock_guard lock(m_stateLock);
        if (m_ranges.empty())
            return;
    }
    const double position = MapToOverall(1.0);
    PopRangeValues();
    LogStep(text, logTime);
    ShowPosition(position);
    ShowRangeText(text, showText);
}

void AProgress::SetPos(double fraction, const AString* text1, const AString* text2, const AString* logText,
                       bool logTime) {
    LogStep(logText, logTime);
    const double position = MapToOverall(fraction);
    if (position >= 0)
        ShowPosition(position);
    ShowStatus(text1, text2);
}

void AProgress::SetStatus(ProgressStatusView* status) {
    std::lock_guard lock(m_stateLock);
    m_status = status;
}

void AProgress::SetLogWindow(ProgressLogView* log) {
    std::lock_guard lock(m_stateLock);
    m_logView = log;
}

void AProgress::ClearLog() {
    std::lock_guard lock(m_stateLock);
    if (m_logView)
        m_logView->ClearText();
}

void AProgress::StartStatusTimer() {
    if (ProgressStatusView* status = Status())
        status->StartAnimation();
}

void AProgress::StopStatusTimer() {
    if (ProgressStatusView* status = Status())
        status->StopAnimation();
}

void AProgress::Log(const AString& text, bool flush) {
    {
        std::lock_guard lock(m_logLock);
        m_log += text;
        if (m_log.GetLength() > kPendingLogLimit)
            DropOldestLogLocked();
    }
    if (flush)
        FlushLog();
}

// Down to half the limit at once, so that dropping is rare, and from the start of a line.
void AProgress::DropOldestLogLocked() {
    int cut = m_log.GetLength() - kPendingLogLimit / 2;
    const int lineEnd = m_log.Find(u'\n', cut);
    if (lineEnd >= 0)
        cut = lineEnd + 1;
    m_log = AString(kDroppedLogMark) + m_log.Mid(cut);
}

void AProgress::LogNumber(int number, bool flush) {
    Log(AString::FromInt(number), flush);
}

void AProgress::LogErrorText(int code, bool flush) {
    AString text;
    Log(GetErrorText(text, code), flush);
}

void AProgress::LogError(int code, const AString& text1, const AString& text2) {
    if (code == 0)
        return;
    Log(text1);
    Log(text2);
    Log(" ERROR=", true);
    LogNumber(code);
    LogErrorText(code, true);
    Log(kLineEnd, true);
}

void AProgress::LogTime(bool newline, bool flush) {
    AString stamp = TimeStamp();
    if (newline)
        stamp += kLineEnd;
    Log(stamp, flush);
}

void AProgress::FlushLog() {
    ProgressLogView* view;
    {
        std::lock_guard lock(m_stateLock);
        view = m_logView;
    }
    if (!view)
        return;
    // Flushes run one at a time, so that text gathered on several threads reaches the pane in the
    // order it was logged; logging itself never waits for the pane.
    std::lock_guard flushing(m_flushLock);
    AString text;
    {
        std::lock_guard lock(m_logLock);
        text = m_log;
        m_log = AString();
    }
    if (!text.IsEmpty())
        view->AppendText(text);
}

AString AProgress::PendingLog() const {
    std::lock_guard lock(m_logLock);
    return m_log;
}

int AProgress::Message(const AString& text, bool log, const AString& title) {
    if (log) {
        LogTime(false, false);
        Log(text);
        Log(kLineEnd, true);
    }
    return UserInterface().ShowMessage(text, title);
}

ProgressUserInterface& AProgress::UserInterface() {
    ProgressUserInterface* userInterface = g_userInterface.load();
    return userInterface ? *userInterface : HeadlessUserInterface::Instance();
}

void AProgress::SetUserInterface(ProgressUserInterface* userInterface) {
    g_userInterface.store(userInterface);
}

int AProgress::RunPrompt(const AlertRequest& request) {
    static constexpr int kAnswerOfButton[] = {kAnswerYes, kAnswerNo, kAnswerYesToAll, kAnswerNoToAll};
    const int button = UserInterface().RunAlert(request);
    return (button >= 0 && button < 4) ? kAnswerOfButton[button] : kAnswerNone;
}

int AProgress::AskYesNo(const AString& text) {
    AlertRequest request;
    request.message = text;
    request.buttons = {AString("Yes"), AString("No"), AString(), AString()};
    return RunPrompt(request);
}

int AProgress::AskYesNoAll(const AString& text, const AString* path1, const AString* path2) {
    AlertRequest request;
    request.message = text;
    const AString first = path1 ? *path1 : AString();
    if (path2)
        request.descriptions = {AString("Copy"), first, AString("to"), *path2};
    else
        request.descriptions = {AString("Delete"), first, AString(), AString()};
    request.buttons = {AString("Yes"), AString("No"), AString("Yes to All"), AString("No to All")};
    return RunPrompt(request);
}
