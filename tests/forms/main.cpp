#include <gtest/gtest.h>

#include "support/offscreen.h"
#include "ui/application.h"

int main(int argc, char** argv)
{
    quilvex::testing::UseOffscreenPlatform();
    ::testing::InitGoogleTest(&argc, argv);
    quilvex::QuilvexApplication application(argc, argv);
    return RUN_ALL_TESTS();
}
