#include "ScopedDataHome.h"

#include <cstdlib>

namespace {

constexpr char kDataHome[] = "XDG_DATA_HOME";

} // namespace

ScopedDataHome::ScopedDataHome(const std::string& folder) {
    if (const char* old = std::getenv(kDataHome))
        m_old = old;
    setenv(kDataHome, folder.c_str(), 1);
}

ScopedDataHome::~ScopedDataHome() {
    if (m_old)
        setenv(kDataHome, m_old->c_str(), 1);
    else
        unsetenv(kDataHome);
}
