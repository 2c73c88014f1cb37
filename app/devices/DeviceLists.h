#pragma once
// The two device lists behind the device chooser: the iPods the library shows, each matched to its
// mounted volume, and the iPods known by their own database on a volume. Rebuilt by the data load on
// its worker; the questions it must ask go through the host, which asks them on the GUI thread.

#include "app/devices/ChooserEntry.h"
#include "library/ipod/PodVolumes.h"
#include "app/devices/LibraryClient.h"
#include "foundation/AString.h"
#include "remote/FoundHost.h"

#include <QString>
#include <memory>
#include <optional>
#include <vector>

class ITunesDB;

// What the device lists need of the main window.
class DeviceListHost {
public:
    virtual ~DeviceListHost() = default;
    // A retry/cancel question with the exclamation icon: true for Retry.
    virtual bool AskRetry(const QString& text) = 0;
    // The user gave up on the library: the program closes once idle.
    virtual void RequestExit() = 0;
    virtual bool CloseRequested() const = 0;
    // A warning line for the log; time-stamped when the log is verbose.
    virtual void LogWarning(const AString& line) = 0;
};

class DeviceLists {
public:
    static constexpr const char* kNoPodID = "00000000";

    struct Pod {
        std::unique_ptr<LibraryPod> pod;
        AString name;
        AString drive;
        AString id;
        PodModelInfo model;
        std::vector<AString> playLists;
    };
    struct Database {
        std::unique_ptr<ITunesDB> database;
        AString name;
        AString drive;
        AString id;
        PodModelInfo model;
        std::vector<AString> playLists; // the master playlist left out
    };

    // Without a library nothing is ever detected.
    explicit DeviceLists(LibraryClient* library);
    ~DeviceLists();

    // Empties both lists and fills them again: 0 (also when the user gave up on the library), or the
    // code of the library or volume that failed.
    int Update(DeviceListHost& host);
    // Update again and again until it succeeds, asking after each failure; the last code when the
    // user gives up or a close was requested.
    int UpdateUntilDone(DeviceListHost& host);
    // The first name that two iPods share, in any letter case.
    std::optional<AString> SharedPodName() const;
    // The chooser's entries for the lists and the found hosts, logging the devices it cannot name.
    ChooserEntries MakeChooserEntries(const std::vector<FoundHost>& hosts, DeviceListHost& host,
                                      bool verbose) const;

    bool IsLibraryDetected() const { return m_detected; }
    const AString& LibraryVersion() const { return m_version; }
    int LibraryVersionNumber() const { return m_versionNumber; }
    LibraryClient* Library() const { return m_library; }
    const std::vector<Pod>& Pods() const { return m_pods; }
    const std::vector<Database>& Databases() const { return m_databases; }

    static QString DuplicateNameMessage(const AString& name);

private:
    enum class PodStep { Added, Skipped, Rescan };

    void Clear();
    bool ConnectLibrary(DeviceListHost& host);
    int AddLibraryPods(DeviceListHost& host, bool& rescan);
    int AddLibraryPod(int index, DeviceListHost& host, PodStep& step);
    int AddDatabases();
    bool HasPodWithID(const AString& id) const;

    LibraryClient* m_library;
    bool m_detected = false;
    AString m_version;
    int m_versionNumber = 0;
    // The mounted iPods as this update found them.
    std::vector<PodVolume> m_volumes;
    std::vector<Pod> m_pods;
    std::vector<Database> m_databases;
};
