#include "ScriptedPodFileSystem.h"

#include <csignal>

bool ScriptedPodFileSystem::Proceed(Step step) {
    const int call = m_calls[static_cast<size_t>(step)]++;
    if (!m_failure || m_failure->step != step || m_failure->call != call)
        return true;
    if (m_failure->kill)
        std::raise(SIGKILL);
    return false;
}

bool ScriptedPodFileSystem::GetRoom(const std::string& folder, Room& room) {
    if (!m_freeSpace)
        return PodFileSystem::GetRoom(folder, room);
    room = {*m_freeSpace, 1};
    return true;
}

bool ScriptedPodFileSystem::CanExchangeBeside(const std::string&) {
    return m_exchange;
}

nativefiles::FileDescriptor ScriptedPodFileSystem::CreateBeside(const std::string& target,
                                                                std::string& path) {
    return Proceed(Step::Create) ? PodFileSystem::CreateBeside(target, path) : nativefiles::FileDescriptor();
}

nativefiles::FileDescriptor ScriptedPodFileSystem::CreateNew(const std::string& path) {
    return Proceed(Step::Create) ? PodFileSystem::CreateNew(path) : nativefiles::FileDescriptor();
}

bool ScriptedPodFileSystem::Write(int file, std::span<const uint8_t> bytes) {
    return Proceed(Step::Write) && PodFileSystem::Write(file, bytes);
}

bool ScriptedPodFileSystem::Flush(int file) {
    return Proceed(Step::Flush) && PodFileSystem::Flush(file);
}

bool ScriptedPodFileSystem::ReadAll(const std::string& path, std::vector<uint8_t>& bytes) {
    return Proceed(Step::Read) && PodFileSystem::ReadAll(path, bytes);
}

PodFileSystem::ExchangeResult ScriptedPodFileSystem::Exchange(const std::string& a, const std::string& b) {
    if (!m_exchange)
        return ExchangeResult::Unsupported;
    return Proceed(Step::Exchange) ? PodFileSystem::Exchange(a, b) : ExchangeResult::Failed;
}

bool ScriptedPodFileSystem::RenameOver(const std::string& from, const std::string& to) {
    return Proceed(Step::Rename) && PodFileSystem::RenameOver(from, to);
}

bool ScriptedPodFileSystem::SyncFolderOf(const std::string& path) {
    return Proceed(Step::SyncFolder) && PodFileSystem::SyncFolderOf(path);
}
