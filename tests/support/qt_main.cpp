// Test entry point for tests that need a Qt application object.
#include "ui/widgets/engine_application.h"

#include <gtest/gtest.h>

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    // Windows are tested offscreen unless a platform is named explicitly.
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    // The program's own application: tests that guard a state have their
    // events handled under its engine lock, as the program does.
    cadenzo::EngineApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
