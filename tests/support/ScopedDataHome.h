#pragma once
// Points the user's data folder ($XDG_DATA_HOME) at a test folder for the life of the object.

#include <optional>
#include <string>

class ScopedDataHome {
public:
    explicit ScopedDataHome(const std::string& folder);
    ~ScopedDataHome();
    ScopedDataHome(const ScopedDataHome&) = delete;
    ScopedDataHome& operator=(const ScopedDataHome&) = delete;

private:
    std::optional<std::string> m_old;
};
