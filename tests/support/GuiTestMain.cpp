// main() of every GUI test executable: one QApplication, offscreen unless told otherwise, and the
// message-box and termination recorders reset before each test.

#include "support/Recorders.h"

#include <QApplication>

#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    struct ResetRecorders : testing::EmptyTestEventListener
    {
        void OnTestStart(const testing::TestInfo&) override { qmxtest::resetRecorders(); }
    };
    testing::UnitTest::GetInstance()->listeners().Append(new ResetRecorders);
    return RUN_ALL_TESTS();
}
