#include "app/commands/HelpPages.h"

#include "platform/shell/Shell.h"

QString HelpPages::HelpPagePath(const QString& programFolder) {
    QString folder = programFolder;
    while (folder.size() > 1 && folder.endsWith(QLatin1Char('/')))
        folder.chop(1);
    return folder + QLatin1Char('/') + QLatin1String(kHelpPage);
}

bool HelpPages::OpenHelp(nativeshell::Shell& shell, const QString& programFolder) {
    return shell.OpenPath(HelpPagePath(programFolder));
}

bool HelpPages::OpenReportProblem(nativeshell::Shell& shell) {
    return shell.OpenPage(QLatin1String(kReportProblemAddress));
}

bool HelpPages::OpenOtherProducts(nativeshell::Shell& shell) {
    return shell.OpenPage(QLatin1String(kOtherProductsAddress));
}
