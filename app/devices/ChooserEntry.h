#pragma once
// One entry of the device chooser and what it stands for: an iPod the library shows (by its place in
// the iPod list), an iPod known by its own database (by its place in the database list), a found
// host (by its place in the found-host table), the entry that connects to a remote computer, or a
// separator. Every entry carries its own record, so no index is ever worked out from its position.

#include "library/ipod/PodModelTable.h"

#include <QString>
#include <vector>

enum class ChooserKind { LibraryPod = 1, PodDatabase = 2, RemoteHost, ConnectToRemote, Separator };

struct ChooserEntry {
    static constexpr const char* kSeparatorText = "AComboBox_SEPARATOR";
    static constexpr const char* kRemotePrefix = "iTunes on ";
    static constexpr const char* kConnectText = "Connect to Remote";

    QString text;
    ChooserKind kind = ChooserKind::Separator;
    int index = -1; // in the iPod list, the database list or the found-host table
    PodModelInfo model;

    bool IsDevice() const { return kind == ChooserKind::LibraryPod || kind == ChooserKind::PodDatabase; }
    // The device picture's key: the model's variant times 256 plus its family.
    int ModelKey() const { return static_cast<int>(model.variant * 256 + model.family); }

    static ChooserEntry Separator() { return {QLatin1String(kSeparatorText), ChooserKind::Separator, -1, {}}; }
    static ChooserEntry Host(const QString& name, int hostIndex) {
        return {QLatin1String(kRemotePrefix) + name, ChooserKind::RemoteHost, hostIndex, {}};
    }
    static ChooserEntry Connect() { return {QLatin1String(kConnectText), ChooserKind::ConnectToRemote, -1, {}}; }
};

using ChooserEntries = std::vector<ChooserEntry>;

// The entry three places from the end when it is a host: the host found last, which the program
// selects when a host joins or a scan ends. -1 when there is none.
int LastHostEntry(const ChooserEntries& entries);
