#pragma once
// Keeps one file open across calls and closes it with a flush when it goes.

#include "foundation/AFile.h"

class AFileHolder {
public:
    AFileHolder() = default;
    AFileHolder(const AFileHolder&) = delete;
    AFileHolder& operator=(const AFileHolder&) = delete;
    ~AFileHolder() { m_file.Close(true); }

    AFile& File() { return m_file; }

private:
    AFile m_file;
};
