#pragma once
// A router configuration (".txfig"): this computer's name with the external address and port under
// which its server program can be reached, for a user on another computer to load. It is made from a
// router test that found a mapping on a router that sits directly on the internet.

#include "foundation/AString.h"

#include <optional>
#include <string>

class HelperProgram;
class QWidget;

struct RouterConfig {
    static constexpr const char* kExtension = ".txfig";

    std::string compName;
    std::string extPort;
    std::string extIP;

    // Runs the router test through the server program, waiting in CPnPDiag, and tells the user why
    // there is no configuration when there is none. `statusWord` is the window's router status.
    static std::optional<RouterConfig> FromRouterTest(const HelperProgram& helper, int& statusWord, QWidget* parent);
    // "CompName", "ExtPort", "ExtIP" in this order into section "Stat": false when not written.
    bool Write(const AString& path) const;
    // The file that is mailed: the host name, made safe as a file name, in `folder`.
    static AString MailFile(const AString& folder, const std::string& hostName);
};
