#include "sync/SyncFolders.h"

#include "foundation/FileOps.h"
#include "library/songlists/ADir.h"
#include "sync/ASync.h"

#include <filesystem>
#include <stdexcept>

namespace fs = std::filesystem;

SyncFolders::SyncFolders() {
    fs::create_directories(m_dir.File("one"));
    fs::create_directories(m_dir.File("two"));
}

AString SyncFolders::Root(int side) const {
    return AString((m_dir.File(side == 1 ? "one" : "two") + "/").c_str());
}

std::string SyncFolders::Path(int side, const std::string& name) const {
    return m_dir.File(side == 1 ? "one" : "two") + "/" + name;
}

void SyncFolders::Put(int side, const std::string& name, const std::string& content, int64_t unixTime) {
    const std::string path = Path(side, name);
    fs::create_directories(fs::path(path).parent_path());
    WriteText(path, content);
    if (SetFileModTime(AString(path.c_str()), UnixToMacTime(unixTime), false) != 0)
        throw std::runtime_error("cannot set the time of " + path);
}

void SyncFolders::MakeFolder(int side, const std::string& name) {
    fs::create_directories(Path(side, name));
}

void SyncFolders::Remove(int side, const std::string& name) {
    fs::remove_all(Path(side, name));
}

std::map<std::string, std::string> SyncFolders::Tree(int side) const {
    std::map<std::string, std::string> tree;
    const fs::path root = Path(side, "");
    for (const auto& item : fs::recursive_directory_iterator(root)) {
        const std::string name = fs::relative(item.path(), root).string();
        if (item.is_directory()) {
            tree[name + "/"] = "";
            continue;
        }
        const std::vector<uint8_t> bytes = ReadBytes(item.path().string());
        tree[name] = std::string(bytes.begin(), bytes.end());
    }
    return tree;
}

std::unique_ptr<ASync> SyncFolders::MakeSync(uint32_t direction, uint32_t deleteMode,
                                             AProgress* progress) const {
    auto sync = std::make_unique<ASync>(progress);
    sync->SetDirection(direction);
    sync->SetDeleteMode(deleteMode);
    SetRoots(*sync);
    return sync;
}

void SyncFolders::SetRoots(ASync& sync) const {
    const AString root1 = Root(1);
    const AString root2 = Root(2);
    sync.BuildList1(&root1, CancelCallback(), false, false);
    sync.BuildList2(&root2, CancelCallback(), false, false);
}

void SyncFolders::TakeSnapshots(ASync& sync) const {
    const AString root1 = Root(1);
    const AString root2 = Root(2);
    if (sync.GetSnapshot1().Open(&root1, 0, CancelCallback()) != 0 ||
        sync.GetSnapshot2().Open(&root2, 0, CancelCallback()) != 0)
        throw std::runtime_error("cannot read the folders into the snapshots");
}

namespace {

std::string Relative(const AString& text, const SyncFolders& folders) {
    std::string result = text.ToUtf8();
    for (int side : {1, 2}) {
        const std::string root = folders.Root(side).ToUtf8();
        if (result.rfind(root, 0) == 0)
            return std::to_string(side) + ":" + result.substr(root.size());
    }
    return result;
}

} // namespace

std::vector<std::string> ActionLines(const ASync& sync, const SyncFolders& folders) {
    std::vector<std::string> lines;
    for (int i = 0; i < sync.GetActionCount(); ++i) {
        const SyncAction& action = *sync.GetAction(i);
        lines.push_back(std::to_string(action.displayIndex) + " code " + std::to_string(action.code) + " [" +
                        Relative(action.text1, folders) + "] [" + Relative(action.text2, folders) + "]" +
                        (action.enabled ? "" : " off"));
    }
    return lines;
}
