#include <gtest/gtest.h>

#include <QCoreApplication>

// For tests without a display that need what an application object gives: quillon-fx runs
// under one, so picture format plugins load as they do for the real binary, and the filter
// lets pending events run after every row, into which the tests post work.
int main(int argc, char** argv) {
    QCoreApplication application(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
