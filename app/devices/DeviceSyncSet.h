#pragma once
// The window's sync set: the set of the device or remote host that the chooser shows, read from and
// written to "SyncSets" under the name of what its first sync's second side is bound to. A set is
// read into a new set that replaces the current one only when the whole file was read, so a damaged
// file never leaves half a set behind (the file itself is kept beside as ".bad" by the set's reader).

#include "app/devices/ChooserEntry.h"
#include "foundation/AString.h"
#include "sync/SyncSet.h"

#include <QString>
#include <memory>
#include <optional>

class ADir;
class ADirTunesRemote;
class AProgress;
class ASync;
class ASyncLib;
class ProgressStatusView;
class RemotePeer;
class SyncActionPresenter;
class SyncHost;
struct FoundHost;

class DeviceSyncSet {
public:
    static constexpr int kErrorNotADevice = -15249;
    static constexpr int kErrorUnknownBinding = -15248;
    static constexpr int kErrorUnnamedSet = -15250;

    // The device a chooser entry stands for.
    struct Device {
        ChooserKind kind = ChooserKind::LibraryPod;
        AString id;
        AString name;
        AString drive;
        uint32_t family = 0;
    };
    // What the first sync's second side is bound to, and the playlists its two sides name.
    struct Binding {
        uint32_t type = 0;
        AString id;   // an iPod's identifier, or a remote library's host name
        AString name; // the iPod's name
        AString playList1;
        AString playList2;

        bool IsRemote() const;
    };

    DeviceSyncSet(AProgress* progress, ProgressStatusView* status, AString workFolder);
    ~DeviceSyncSet();

    // The seams every set gets, now and after a load.
    void SetSeams(SyncActionPresenter* presenter, SyncHost* host);
    SyncSet& Set() { return *m_set; }
    // Null while the set is empty.
    ASync* First() const;
    bool IsEmpty() const { return m_set->GetSyncCount() == 0; }

    // Reads "00000000.sync" when it is there. An unreadable set, or one whose second side is another
    // computer's library, is replaced by a new default set, which is saved; the text tells the user of
    // the unreadable one (empty otherwise).
    QString LoadDefault(int setting);
    // The set of the device (none: the set of no device): 0 when it was read or already loaded, or
    // when a new default sync was made for a device without a file; else the read's code, with a new
    // default set made and the text to show.
    int LoadRecent(const Device* device, int setting, QString& message);
    // A new song sync from the library to the device (none: to an iPod not chosen yet) in place of the
    // first sync; its mode from the setting, its playlists the given ones. It takes over the old first
    // sync's options when both name the same device root.
    int NewDefaultSync(const Device* device, const AString& playList1, const AString& playList2, int setting);
    // The set of a remote host: read from the host's file when there is one, else a new sync from the
    // library to the host's (an unreadable file is kept as ".bad" and logged); the remote sides reach
    // the host through the link.
    int MakeRemote(RemotePeer* link, const FoundHost& host, int setting);
    // Writes the set under the name of what it is bound to; 0 for an empty set.
    int Save();
    // Null for a set without syncs; `result` says why a binding is unknown.
    std::optional<Binding> Bound(int& result) const;
    // The address of the host a remote set reaches; empty for any other set.
    AString RemoteAddress() const;
    // The setting that the first sync's direction and delete mode give (kModeNone without a sync).
    int Setting() const;
    // Gives every sync the direction and delete mode of a setting 0-5.
    void ApplySetting(int setting);
    // An iPod known by its own database that is mounted elsewhere now: the first sync follows it.
    void FollowDrive(const Device& device);
    // The playlists the first sync's sides run on (empty: the whole library).
    void SetPlayLists(const AString& playList1, const AString& playList2);
    void SetPlayList(bool side2, const AString& name);
    // The first sync's second side when it is another computer's library.
    ADirTunesRemote* RemoteSide() const;
    // Forgets a side's playlist and its snapshot.
    void ClearPlayList(bool side2);

    // Whether the device's saved set holds a sync that runs by itself when the device arrives.
    bool RunsByItself(const AString& id) const;
    // Sync sets name another computer's library by its type; the program registers its list at start.
    static void RegisterRemoteList();
    // The song list type of a device's side.
    static uint32_t ListTypeOf(ChooserKind kind);
    // The file of a set in "SyncSets"; false without the folder.
    static bool SetFile(const AString& stem, AString& path);

private:
    std::unique_ptr<SyncSet> NewSet() const;
    std::unique_ptr<ASyncLib> MakeSync(uint32_t type2, const AString& root2, const AString& playList1,
                                       const AString& playList2, int setting, int& result) const;
    // Reads a set file into a new set: the set, or null with the read's code.
    std::unique_ptr<SyncSet> Read(const AString& path, int& result) const;
    void Bind(const Device& device);
    int SaveAs(const AString& stem);
    static bool Belongs(const Binding& binding, const Device* device);

    AProgress* m_progress;
    ProgressStatusView* m_status;
    SyncActionPresenter* m_presenter = nullptr;
    SyncHost* m_host = nullptr;
    AString m_workFolder;
    std::unique_ptr<SyncSet> m_set;
};
