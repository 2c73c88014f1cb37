#include "sync/HeadlessActionPresenter.h"

HeadlessActionPresenter& HeadlessActionPresenter::Refusing() {
    static HeadlessActionPresenter refusing;
    return refusing;
}

bool HeadlessActionPresenter::ConfirmActions(ASync& sync, const SyncActionTexts& texts) {
    ++m_shown;
    return m_script ? m_script(sync, texts) : false;
}
