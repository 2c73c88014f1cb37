#pragma once
// Carries out the checked rows of a list's tool actions, logging each, asking about errors (when the
// list's AskOnError is set) and reading the cancel between rows.

#include "foundation/AString.h"
#include "foundation/CancelCallback.h"

class ADirSong;
struct SongToolAction;

class ToolActionPerformer {
public:
    ToolActionPerformer(ADirSong& source, const CancelCallback& callback);

    // 0, 123456 when cancelled, or the error of the last row (the first error stops performing only
    // when the user chose to quit, or when the disk is full).
    int Perform();
    // The rows that were carried out (a duplicate row that is kept carries out nothing).
    int PerformedCount() const { return m_performed; }

private:
    enum class RowEnd { Go, Stop };
    // Steps 2 to 8 of one row; Stop ends performing with `m_result`.
    RowEnd PerformRow(SongToolAction& row, int step, int count);
    int CarryOut(SongToolAction& row, bool& rowEnded);
    int AddDisconnectedFile(const SongToolAction& row);
    void HandleDamagedFile(const AString& file);
    int RemoveDuplicate(const SongToolAction& row);
    int DeleteSong(const SongToolAction& row);
    int SaveArtwork(const SongToolAction& row, bool& rowEnded);
    void LogRowLine(const AString& text, bool showInStatus);
    void DeleteFoundFile(const AString& file);

    ADirSong& m_source;
    CancelCallback m_callback;
    int m_result = 0;
    int m_performed = 0;
    int m_damagedAnswer = 0; // the remembered Yes to All or No to All of the damaged-file question
};
