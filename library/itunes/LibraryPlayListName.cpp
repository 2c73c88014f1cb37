#include "library/itunes/LibraryPlayListName.h"

#include <mutex>

namespace {

std::mutex& NameLock() {
    static std::mutex lock;
    return lock;
}

AString& Name() {
    static AString name(kLibraryPlayListName);
    return name;
}

} // namespace

AString GetLibraryPlayListName() {
    std::lock_guard lock(NameLock());
    return Name();
}

void SetLibraryPlayListName(const AString& name) {
    std::lock_guard lock(NameLock());
    Name() = name;
}
