#include "sync/HeadlessSyncHost.h"

HeadlessSyncHost& HeadlessSyncHost::Default() {
    static HeadlessSyncHost host;
    return host;
}

void HeadlessSyncHost::SetListThreadRunning(bool running) {
    if (running)
        ++m_listThreadStarts;
    m_listThreadRunning.store(running);
}
