#include "server/requests/PrivateTempFolder.h"

#include <cstdlib>
#include <filesystem>
#include <system_error>

PrivateTempFolder::PrivateTempFolder() {
    std::error_code error;
    std::string path = std::filesystem::temp_directory_path(error).string();
    if (error)
        return;
    path += "/orvantis-sent-XXXXXX";
    // mkdtemp makes the folder with mode 0700 under a name nobody could know beforehand.
    if (mkdtemp(path.data()))
        m_path = path;
}

PrivateTempFolder::~PrivateTempFolder() {
    if (m_path.empty())
        return;
    std::error_code error;
    std::filesystem::remove_all(m_path, error);
}

AString PrivateTempFolder::File(const AString& name) const {
    return AString::FromSystem8Bit(m_path + "/" + name.ToSystem8Bit());
}
