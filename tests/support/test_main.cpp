// Every test program runs in an offscreen window-system session, so no test needs a display.
#include <gtest/gtest.h>

#include "platform/application.h"

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    toven::platform::Session session(argc, argv, toven::platform::SessionKind::test);
    return RUN_ALL_TESTS();
}
