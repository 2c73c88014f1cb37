#pragma once
// The desktop program's dialogs for the library tools' lists: the tool action list and the duplicates
// list, each run on the GUI thread while the tool's worker waits.

#include "library/songlists/ToolActionPresenter.h"

#include <atomic>

class AppleIdList;

class DesktopToolActionPresenter : public ToolActionPresenter {
public:
    // The Apple IDs that "Add AppleID to list" extends: lent by the window for the run of a tool that
    // extends them, null otherwise. Read on the GUI thread when a list opens.
    void SetAppleIdList(AppleIdList* appleIds) { m_appleIds = appleIds; }

    bool ShowActionList(const ToolActionListRequest& request) override;
    bool ShowDuplicatesList(const ToolActionListRequest& request) override;

private:
    std::atomic<AppleIdList*> m_appleIds{nullptr};
};
