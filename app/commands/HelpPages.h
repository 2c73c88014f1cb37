#pragma once
// The help page beside the program and the maker's two web pages, opened through the shell. The
// addresses live here and nowhere else.

#include <QString>

namespace nativeshell {
class Shell;
}

class HelpPages {
public:
    static constexpr const char* kHelpPage = "html/orvantis_help.htm";
    static constexpr const char* kReportProblemAddress = "https://www.example.com/orvantis/report-a-problem";
    static constexpr const char* kOtherProductsAddress = "https://www.example.com/orvantis/other-products";

    // The help page under the program folder; whether it exists is not looked at.
    static QString HelpPagePath(const QString& programFolder);

    // Each answers whether the shell could start the opening; the callers do not report a failure.
    static bool OpenHelp(nativeshell::Shell& shell, const QString& programFolder);
    static bool OpenReportProblem(nativeshell::Shell& shell);
    static bool OpenOtherProducts(nativeshell::Shell& shell);
};
