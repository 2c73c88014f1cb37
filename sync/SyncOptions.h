#pragma once
// The options of one sync and the answers it keeps, as they follow its four song lists in the saved
// sync record: little-endian, field after field, the six one-byte options unaligned among the words.

#include "foundation/AString.h"

#include <cstdint>

class AFile;

enum SyncDirection : uint32_t {
    kDirection1To2 = 1,
    kDirection2To1 = 2,
    kDirectionBoth = 3,
    // Saved by older sets; like any value other than 1 to 3 it decides nothing.
    kDirectionSkipped = 4,
};

// A kept answer to one of the copy and delete questions.
enum KeptAnswer : uint32_t { kAnswerAsk = 0, kAnswerYesToAll = 2, kAnswerNoToAll = 4 };

struct KeptAnswers {
    uint32_t replace = kAnswerAsk;
    uint32_t replaceNewer = kAnswerAsk;
    uint32_t remove = kAnswerAsk;
};

struct SyncOptions {
    uint32_t reservedWord = 1;
    KeptAnswers answers;
    uint32_t direction = kDirection1To2;
    uint32_t autoRun = 0;
    uint8_t syncComments = 1;
    uint8_t syncPlaycounts = 1;
    uint8_t syncRatings = 1;
    uint8_t syncEQ = 1;
    uint8_t syncLastPlayed = 1;
    uint8_t autoReplaceAll = 0;
    uint32_t showActionList = 1;
    uint32_t forceReadOnly = 0;
    // 1: deletions are carried to the other side and the snapshot lists are kept.
    uint32_t deleteMode = 0;
    uint32_t verifyCopies = 0;
    uint32_t stopOnError = 0;
    uint32_t typeFilterOn = 0;
    uint32_t listOption = 1;
    uint32_t verboseLog = 1;
    AString includeTypes;
    AString excludeTypes;

    // 0 or the first failing write's code.
    int Write(AFile& stream) const;
    // 0 or the first failing read's code; the fields read before a failure keep their new values.
    int Read(AFile& stream);
};
