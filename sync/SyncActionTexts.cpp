#include "sync/SyncActionTexts.h"

#include "sync/SyncAction.h"

namespace {

// The verb of each action pair and the side its even index names; the odd index names the other side.
struct ActionWording {
    const char* verb;
    bool isFolderAction;
};

constexpr ActionWording kPairs[] = {
    {"Copy to ", false},      {"Delete from ", false},    {"Replace in ", false},
    {"Create Dir in ", true}, {"Delete Dir from ", true},
};

// Each change names the action it turns into: {verb, side of that action is side 2}.
struct ChangeWording {
    const char* verb;
    bool toSide2;
};

constexpr ChangeWording kChanges[] = {
    {"Change to: Delete in ", true}, {"Change to: Delete in ", false}, {"Change to: Copy to ", true},
    {"Change to: Copy to ", false},  {"Change to: Replace in ", true}, {"Change to: Replace in ", false},
    {"Set to: Replace in ", true},   {"Set to: Replace in ", false},
};

} // namespace

SyncActionTexts SyncActionTexts::ForSides(const AString& side1, const AString& side2, bool folderActions) {
    SyncActionTexts result;
    result.side1Name = side1;
    result.side2Name = side2;
    int index = 0;
    for (const ActionWording& pair : kPairs) {
        for (const AString* side : {&side1, &side2}) {
            if (folderActions || !pair.isFolderAction) {
                const AString text = AString(pair.verb) + *side;
                result.texts[index] = text;
                result.texts[kAllTextsStart + index] = AString("All ") + text + " Actions";
            }
            ++index;
        }
    }
    result.texts[kUndefinedPair] = "Undefined";
    result.texts[kNoActionPair] = "No action";
    int change = kChangeTextsStart;
    for (const ChangeWording& wording : kChanges)
        result.texts[change++] = AString(wording.verb) + (wording.toSide2 ? side2 : side1);
    return result;
}

SyncActionTexts SyncActionTexts::ForDirectories() {
    return ForSides(AString("Directory 1"), AString("Directory 2"), true);
}
