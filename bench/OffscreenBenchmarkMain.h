#pragma once
// The main of the benchmarks that need a Qt application: offscreen unless a platform is named, in the
// Fusion style, so that every machine paints alike.

#include <QApplication>
#include <QStyleFactory>

#include <benchmark/benchmark.h>

inline int RunOffscreenBenchmarks(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
