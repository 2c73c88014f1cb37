#include "sync/SyncOptions.h"

#include "foundation/AFile.h"
#include "foundation/RecordIO.h"

int SyncOptions::Write(AFile& stream) const {
    using namespace recordio;
    for (const uint32_t word :
         {reservedWord, answers.replace, answers.replaceNewer, answers.remove, direction, autoRun}) {
        if (const int result = WriteU32(stream, word))
            return result;
    }
    for (const uint8_t byte :
         {syncComments, syncPlaycounts, syncRatings, syncEQ, syncLastPlayed, autoReplaceAll}) {
        if (const int result = stream.Write(&byte, 1))
            return result;
    }
    for (const uint32_t word : {showActionList, forceReadOnly, deleteMode, verifyCopies, stopOnError,
                                typeFilterOn, listOption, verboseLog}) {
        if (const int result = WriteU32(stream, word))
            return result;
    }
    if (const int result = includeTypes.Serialize(stream))
        return result;
    return excludeTypes.Serialize(stream);
}

int SyncOptions::Read(AFile& stream) {
    using namespace recordio;
    for (uint32_t* word :
         {&reservedWord, &answers.replace, &answers.replaceNewer, &answers.remove, &direction, &autoRun}) {
        if (const int result = ReadU32(stream, *word))
            return result;
    }
    for (uint8_t* byte :
         {&syncComments, &syncPlaycounts, &syncRatings, &syncEQ, &syncLastPlayed, &autoReplaceAll}) {
        if (const int result = stream.Read(byte, 1))
            return result;
    }
    for (uint32_t* word : {&showActionList, &forceReadOnly, &deleteMode, &verifyCopies, &stopOnError,
                           &typeFilterOn, &listOption, &verboseLog}) {
        if (const int result = ReadU32(stream, *word))
            return result;
    }
    if (const int result = includeTypes.Load(stream))
        return result;
    return excludeTypes.Load(stream);
}
