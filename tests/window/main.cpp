// SPDX-License-Identifier: GPL-3.0-or-later
// One runner for the window tests: Google Test with a QApplication around it.
#include <QApplication>
#include <gtest/gtest.h>

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    // CTest lists the tests at build time, where there may be no window system.
    if (GTEST_FLAG_GET(list_tests))
        return RUN_ALL_TESTS();
    qputenv("XDG_CONFIG_HOME", EDT_TEST_CONFIG_DIR);
    qputenv("EDT_NO_BACKUP", "1");
    QApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
