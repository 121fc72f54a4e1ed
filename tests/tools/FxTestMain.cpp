#include <gtest/gtest.h>

#include <QCoreApplication>

// The tool runs under a QCoreApplication (no display); the tests do the same, so picture
// format plugins load as they do for the real binary.
int main(int argc, char** argv) {
    QCoreApplication application(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
