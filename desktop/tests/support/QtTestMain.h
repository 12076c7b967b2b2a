#pragma once

#include <QApplication>
#include <QTest>

// The main of a console test: runs without a screen (offscreen platform) unless QT_QPA_PLATFORM says
// otherwise, so the same test can be watched under a display.
#define LUMIVANE_QTEST_MAIN(TestClass)                                                                                 \
    int main(int argc, char* argv[])                                                                                   \
    {                                                                                                                  \
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))                                                            \
            qputenv("QT_QPA_PLATFORM", "offscreen");                                                                   \
        QApplication application(argc, argv);                                                                          \
        TestClass test;                                                                                                \
        return QTest::qExec(&test, argc, argv);                                                                        \
    }
