#pragma once
// A router configuration: the computer's name with the external address and port under which its
// server program can be reached, kept in a ".txfig" file (section "Stat") that another computer
// loads to connect.

#include <string>

struct RouterConfiguration {
    static constexpr const char* kSection = "Stat";
    static constexpr const char* kExtension = ".txfig";
    static constexpr const char* kFileFilter = "Config Files|*.txfig||";
    // What a host name may take of the file, as the name service gives it.
    static constexpr size_t kMaxCompNameBytes = 150;

    std::string compName;
    std::string extPort;
    std::string extIp;

    // "CompName", "ExtPort" and "ExtIP" in this order, in one replacement of the file (other keys of
    // an existing file stay); false when the file cannot be written.
    bool Write(const std::string& path) const;
};
