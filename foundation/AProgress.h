#pragma once
// The sink of every long operation: nested progress ranges mapped onto one overall position, the status
// strip, the log (gathered under a lock from any thread, moved into the log pane), time stamps, error
// lines, messages and the copy/delete questions.

#include "foundation/AString.h"

#include <mutex>
#include <vector>

class ProgressLogView;
class ProgressStatusView;
class ProgressUserInterface;
struct AlertRequest;

class AProgress {
public:
    enum Answer { kAnswerNone = -1, kAnswerYes = 1, kAnswerYesToAll = 2, kAnswerNo = 3, kAnswerNoToAll = 4 };
    // The most log text kept while no log view takes it (a quiet progress object never has one): past
    // it the oldest lines go, so that a long run cannot grow the log without end.
    static constexpr int kPendingLogLimit = 1 << 20;
    // What stands in front of the kept text once older lines went.
    static constexpr const char* kDroppedLogMark = "...\r\n";

    AProgress();
    AProgress(const AProgress&) = delete;
    AProgress& operator=(const AProgress&) = delete;
    virtual ~AProgress() = default;

    virtual void Start(const AString* text = nullptr, bool logTime = false, bool showText = false);
    virtual void Finish(const AString* text = nullptr, bool logTime = false, bool showText = false);
    // Following positions map into the next `fraction` of the current range.
    virtual void PushRange(double fraction, const AString* text = nullptr, bool logTime = false,
                           bool showText = false);
    virtual void PopRange(const AString* text = nullptr, bool logTime = false, bool showText = false);
    // A negative fraction changes only the texts; 1.001 and above count as 1.0.
    virtual void SetPos(double fraction, const AString* text1 = nullptr, const AString* text2 = nullptr,
                        const AString* logText = nullptr, bool logTime = false);

    void SetStatus(ProgressStatusView* status);
    void SetLogWindow(ProgressLogView* log);
    void ClearLog();
    void StartStatusTimer();
    void StopStatusTimer();

    void Log(const AString& text, bool flush = false);
    void Log(const char* text, bool flush = false) { Log(AString(text), flush); }
    void Log(const char16_t* text, bool flush = false) { Log(AString(text), flush); }
    void LogNumber(int number, bool flush = false);
    void LogErrorText(int code, bool flush = false);
    // text1 + text2 + " ERROR=" + the code + its error text, as one line; nothing for code 0.
    void LogError(int code, const AString& text1, const AString& text2);
    // "%Y %B %d - %H:%M:%S: " in local time.
    void LogTime(bool newline, bool flush);
    void FlushLog();
    AString PendingLog() const;

    // Logs the text when asked, then shows it to the user under its title (empty: the program's name);
    // returns the interface's answer.
    int Message(const AString& text, bool log, const AString& title = AString());
    // 1 Yes, 3 No, -1 without an answer.
    static int AskYesNo(const AString& text);
    // 1 Yes, 3 No, 2 Yes to All, 4 No to All, -1 without an answer. With a second path the question is
    // about copying the first to it, else about deleting the first.
    static int AskYesNoAll(const AString& text, const AString* path1, const AString* path2);
    // The interface that shows messages and asks questions, for the whole process; null restores the
    // headless one.
    static void SetUserInterface(ProgressUserInterface* userInterface);

    void ResetRanges();
    void PushRangeValues(double fraction);
    void PopRangeValues();
    double MapToOverall(double fraction) const;
    double GetCurrentPosition() const;
    bool IsRunning() const;

private:
    struct Range {
        double savedPosition;
        double scale;
        double end;
    };

    void LogStep(const AString* text, bool logTime);
    void DropOldestLogLocked();
    void ShowPosition(double position);
    void ShowStatus(const AString* line1, const AString* line2);
    // First line the text, second line emptied, when the text is to be shown.
    void ShowRangeText(const AString* text, bool showText);
    ProgressStatusView* Status() const;
    static ProgressUserInterface& UserInterface();
    static int RunPrompt(const AlertRequest& request);

    mutable std::mutex m_stateLock;
    std::vector<Range> m_ranges;
    double m_current = 0.0;
    bool m_running = false;
    ProgressStatusView* m_status = nullptr;
    ProgressLogView* m_logView = nullptr;

    mutable std::mutex m_logLock;
    AString m_log;
    std::mutex m_flushLock;
};
