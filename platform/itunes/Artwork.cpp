#include "platform/itunes/Artwork.h"

#include "platform/itunes/Call.h"

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace itunesapp {

Status Artwork::SaveToFile(const std::string& path) const {
    {
        Call call(m_core);
        if (const Status status = call.Check(); status != Status::Ok)
            return status;
    }
    const int descriptor = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (descriptor < 0)
        return Status::Failed;
    bool written = true;
    for (size_t done = 0; written && done < m_bytes->size();) {
        const ssize_t put = write(descriptor, m_bytes->data() + done, m_bytes->size() - done);
        if (put < 0 && errno == EINTR)
            continue;
        written = put > 0;
        if (written)
            done += static_cast<size_t>(put);
    }
    written = close(descriptor) == 0 && written;
    return written ? Status::Ok : Status::Failed;
}

} // namespace itunesapp
