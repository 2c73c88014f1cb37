#pragma once
// Puts the process in a time zone (a TZ value) for the life of the object, whatever the machine's own.

#include <optional>
#include <string>

class ScopedTimeZone {
public:
    explicit ScopedTimeZone(const std::string& zone);
    ~ScopedTimeZone();
    ScopedTimeZone(const ScopedTimeZone&) = delete;
    ScopedTimeZone& operator=(const ScopedTimeZone&) = delete;

private:
    std::optional<std::string> m_old;
};
