// main() of the GUI tests: the toolkit's application object, offscreen unless told
// otherwise, then every test.
#include "platform/toolkit/qt/PlatformApplication.h"

#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    PlatformApplication application(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
