#pragma once
// Widgets in a benchmark need an application object on the offscreen platform.

#include "controls/Fonts.h"

#include <QApplication>

inline void EnsureApplication()
{
    static const bool ready = [] {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        static int argc = 1;
        static char name[] = "zhr_bench";
        static char *argv[] = {name, nullptr};
        // Never destroyed: the process ends right after the benchmarks, and no
        // widget may outlive the application object.
        new QApplication(argc, argv);
        Fonts::InstallSubstitutes();
        return true;
    }();
    (void)ready;
}
