#include "app/state/RouterStatus.h"

#include "app/state/AppFolders.h"
#include "app/state/HelperProgram.h"
#include "app/state/PrivateAddress.h"
#include "foundation/FileOps.h"
#include "platform/ini/PrivateProfile.h"
#include "platform/sockets/HostAddresses.h"

namespace {

constexpr const char* kSection = "Stat";
constexpr const char* kMissing = "Error";

} // namespace

QString RouterStatus::NatText() const {
    return reachable ? QStringLiteral("Nat: OK") : FailedNat();
}

QString RouterStatus::IpText() const {
    return QStringLiteral("Ext. IP: ") + externalIp;
}

QString RouterStatus::PortText() const {
    return QStringLiteral("Ext. Port: ") + externalPort;
}

std::optional<RouterStatus> RouterStatus::ReadFile(const std::string& path) {
    const nativeini::PrivateProfile file(path);
    if (file.ReadInt(kSection, "Status", 0) == 0)
        return std::nullopt;
    RouterStatus status;
    const std::string ip = file.ReadString(kSection, "ExtIP", kMissing, kValueChars);
    status.externalIp = QString::fromStdString(ip);
    status.externalPort = QString::fromStdString(file.ReadString(kSection, "ExtPort", kMissing, kValueChars));
    // A router that answers with no address (or with a text in its place) is no way in either.
    status.hasAddress = nativesockets::ParseIPv4(ip).has_value();
    status.reachable = status.hasAddress && !IsPrivateIPv4(ip);
    return status;
}

std::optional<RouterStatus> RouterStatus::AskHelper(const HelperProgram& helper, bool removeOld) {
    AString path;
    if (!AppFolders::SyncSetsFile(AString(AppFolders::kRouterStatusFileName), path))
        return std::nullopt;
    if (removeOld)
        DeleteFileLong(path, false);
    if (!helper.SendWriteRouterStatus())
        return std::nullopt;
    return ReadFile(path.ToSystem8Bit());
}
