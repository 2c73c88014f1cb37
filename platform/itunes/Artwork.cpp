#include "platform/itunes/Artwork.h"

#include "platform/files/NativeFiles.h"
#include "platform/itunes/Call.h"

#include <fcntl.h>

namespace itunesapp {

Status Artwork::SaveToFile(const std::string& path) const {
    {
        Call call(m_core);
        if (const Status status = call.Check(); status != Status::Ok)
            return status;
    }
    nativefiles::FileDescriptor file(open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644));
    if (!file.IsOpen())
        return Status::Failed;
    const std::string_view bytes(reinterpret_cast<const char*>(m_bytes->data()), m_bytes->size());
    const bool written = nativefiles::WriteAll(file.Get(), bytes) && file.Close();
    return written ? Status::Ok : Status::Failed;
}

} // namespace itunesapp
