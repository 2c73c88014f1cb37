#pragma once
// What a start of the main program was asked on its command line: a router configuration to load
// (the first argument that ends in ".txfig", in any letter case, taken as given), an auto-run over a
// drive mask ("-ar" and a number as the first two arguments) and the about box ("__d").

#include <QString>
#include <QStringList>
#include <cstdint>
#include <optional>

struct StartupCommandLine {
    std::optional<QString> routerConfig;
    bool autoRun = false;
    uint32_t autoRunMask = 0;
    bool showAbout = false;

    // `arguments` as the program got them, its own path first.
    static StartupCommandLine Parse(const QStringList& arguments);
    // A decimal number as the C library reads one: blanks, a sign, digits; 0 when there are none.
    static uint32_t ParseNumber(const QString& text);
};
