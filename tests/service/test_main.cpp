#include <gtest/gtest.h>

#include <QCoreApplication>

// The HTTP client runs Qt's event loop while it waits, so a Qt application
// object must exist before any test.
int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
