#pragma once
// A shell that launches nothing: it records the pages and paths it was asked to open.

#include "platform/shell/Shell.h"

struct RecordingShell : nativeshell::Shell {
    bool OpenPage(const QString& address) override {
        pages.push_back(address);
        return true;
    }
    bool OpenPath(const QString& path) override {
        paths.push_back(path);
        return true;
    }
    bool StartProgram(const QString&, const QStringList&) override { return true; }
    bool MailFile(const QString&) override { return true; }

    QStringList pages;
    QStringList paths;
};
