#pragma once
// The live file system with a script: every step of a save is counted by kind, and the chosen call of
// a kind fails, or ends the process as a kill would. It can also lack the exchange of two names and
// report a given free space, counted in bytes.

#include "library/ipod/PodFileSystem.h"

#include <array>
#include <cstdint>
#include <optional>

class ScriptedPodFileSystem : public PodFileSystem {
public:
    enum class Step { Create, Write, Flush, Read, Exchange, Rename, SyncFolder, kCount };

    // Call `call` (from 0) of `step` fails.
    void FailAt(Step step, int call) { m_failure = {step, call, false}; }
    // Call `call` of `step` ends the process with SIGKILL before it does anything.
    void KillAt(Step step, int call) { m_failure = {step, call, true}; }
    void ClearFailure() { m_failure.reset(); }
    void WithoutExchange() { m_exchange = false; }
    void SetFreeSpace(uint64_t bytes) { m_freeSpace = bytes; }
    int Calls(Step step) const { return m_calls[static_cast<size_t>(step)]; }

    bool GetRoom(const std::string& folder, Room& room) override;
    bool CanExchangeBeside(const std::string& target) override;
    nativefiles::FileDescriptor CreateBeside(const std::string& target, std::string& path) override;
    nativefiles::FileDescriptor CreateNew(const std::string& path) override;
    bool Write(int file, std::span<const uint8_t> bytes) override;
    bool Flush(int file) override;
    bool ReadAll(const std::string& path, std::vector<uint8_t>& bytes) override;
    ExchangeResult Exchange(const std::string& a, const std::string& b) override;
    bool RenameOver(const std::string& from, const std::string& to) override;
    bool SyncFolderOf(const std::string& path) override;

private:
    struct Failure {
        Step step;
        int call;
        bool kill;
    };
    // Counts the call; false when it is the one to fail.
    bool Proceed(Step step);

    std::array<int, static_cast<size_t>(Step::kCount)> m_calls{};
    std::optional<Failure> m_failure;
    bool m_exchange = true;
    std::optional<uint64_t> m_freeSpace;
};
