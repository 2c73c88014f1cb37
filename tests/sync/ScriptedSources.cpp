#include "sync/ScriptedSources.h"

namespace {

std::string NameIn(const ADir& list, const AString& path) {
    return path.Mid(list.GetRootPath().GetLength()).ToUtf8();
}

} // namespace

void ScriptedSync::UseScriptedLists(uint32_t type1, uint32_t type2) {
    SetSideLists(kSide1, std::make_unique<ScriptedList>(type1), std::make_unique<ScriptedList>(type1));
    SetSideLists(kSide2, std::make_unique<ScriptedList>(type2), std::make_unique<ScriptedList>(type2));
}

ScriptedList& ScriptedSync::List(int side) const {
    return dynamic_cast<ScriptedList&>(side == 1 ? GetDirectory1() : GetDirectory2());
}

ScriptedList& ScriptedSync::Snapshot(int side) const {
    return dynamic_cast<ScriptedList&>(side == 1 ? GetSnapshot1() : GetSnapshot2());
}

AString ScriptedSync::GetSongKey(ADir& list, const AString& path) {
    const auto& keys = dynamic_cast<ScriptedList&>(list).songKeys;
    const auto found = keys.find(NameIn(list, path));
    return found == keys.end() ? AString() : AString(found->second.c_str());
}

void ScriptedSync::UpdateSongInfo(ADir& list, const AString& path, const AString& key, uint32_t fields) {
    const std::string name = NameIn(list, path);
    updates.push_back({name, key.ToUtf8(), fields});
    dynamic_cast<ScriptedList&>(list).songKeys[name] = key.ToUtf8();
}

AString ScriptedSync::GetDeviceId(ADir& list) {
    return AString(dynamic_cast<ScriptedList&>(list).deviceId.c_str());
}
