#include "support/ScopedTimeZone.h"

#include <cstdlib>
#include <ctime>

ScopedTimeZone::ScopedTimeZone(const std::string& zone) {
    if (const char* old = std::getenv("TZ"))
        m_old = old;
    setenv("TZ", zone.c_str(), 1);
    tzset();
}

ScopedTimeZone::~ScopedTimeZone() {
    if (m_old)
        setenv("TZ", m_old->c_str(), 1);
    else
        unsetenv("TZ");
    tzset();
}
