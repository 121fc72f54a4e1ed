#include <gtest/gtest.h>

#include <QCoreApplication>

// The filter lets pending events run after every row; the tests post work into those
// pauses, so they need an application object with an event queue.
int main(int argc, char** argv) {
    QCoreApplication application(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
