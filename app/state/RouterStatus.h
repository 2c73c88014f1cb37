#pragma once
// The router status that the server program writes into "Router.stat" for the main program, as the
// settings page "Global" shows it: the NAT text and the external address and port.

#include <QString>
#include <optional>
#include <string>

class HelperProgram;

struct RouterStatus {
    static constexpr size_t kValueChars = 400;

    QString externalIp;   // as the file holds it ("Error" when missing)
    QString externalPort;
    bool hasAddress = false; // the external address is a dotted IPv4 address
    bool reachable = false;  // ... and an address on the internet

    QString NatText() const;
    QString IpText() const;
    QString PortText() const;

    // The texts when nothing is known, and before a router test ran.
    static QString FailedNat() { return QStringLiteral("Nat: Error"); }
    static QString FailedIp() { return QStringLiteral("Ext. IP: Error"); }
    static QString FailedPort() { return QStringLiteral("Ext. Port: Error"); }

    // The status in the file; none when it says no mapping is known (or is missing).
    static std::optional<RouterStatus> ReadFile(const std::string& path);
    // Has the running server program write the file (after removing an old one when asked) and
    // reads it; none without the server program, its answer or a known mapping.
    static std::optional<RouterStatus> AskHelper(const HelperProgram& helper, bool removeOld);
};
