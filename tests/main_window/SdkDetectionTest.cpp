// Where start-up finds the SDK's bin directory.

#include "StartUpFixture.h"

#include "main_window/Form1.h"
#include "main_window/SdkDetection.h"

#include <QFile>
#include <QLabel>

namespace qmxtest {
namespace {

struct SdkCase
{
    const char* name;
    std::optional<QByteArray> sourcesdk;
    QByteArray editorValueLine; // under Software\Valve\Hammer\General; empty: no key
    QByteArray storedSdkDir; // empty: no settings file
    QString expected;
};

class SdkDetection : public StartUpTest, public testing::WithParamInterface<SdkCase>
{
};

TEST_P(SdkDetection, FirstNonEmptySourceWins)
{
    const SdkCase& c = GetParam();
    EnvGuard sdk("sourcesdk", c.sourcesdk);
    if (!c.editorValueLine.isEmpty())
        writeUserReg(QStringLiteral("Software\\Valve\\Hammer\\General"), c.editorValueLine);
    if (!c.storedSdkDir.isEmpty())
        writeSettings("[settings]\r\nSDKDir=" + c.storedSdkDir + "\r\n");

    EXPECT_EQ(Module1::DetectSdkDirectory(), c.expected);
    Form1& form = start();
    EXPECT_EQ(form.SDKDir, c.expected);
    EXPECT_EQ(form.Label1->text(), c.expected);
    EXPECT_EQ(folderWindow() != nullptr, c.expected.isEmpty());
    EXPECT_EQ(form.isVisible(), !c.expected.isEmpty());
}

INSTANTIATE_TEST_SUITE_P(
    Sources, SdkDetection,
    testing::Values(
        SdkCase{"EnvironmentGetsBin", QByteArray("C:\\sdk"), "\"Directory\"=\"E:\\\\tools\\\\bin\"", "F:\\stored",
                QStringLiteral("C:\\sdk\\bin")},
        SdkCase{"EnvironmentTrailingBackslashKept", QByteArray("D:\\sdk\\"), "", "", QStringLiteral("D:\\sdk\\\\bin")},
        SdkCase{"EmptyEnvironmentCountsAsUnset", QByteArray(""), "", "F:\\stored", QStringLiteral("F:\\stored")},
        SdkCase{"EditorValueAsItStands", std::nullopt, "\"Directory\"=\"E:\\\\tools\\\\bin\"", "F:\\stored",
                QStringLiteral("E:\\tools\\bin")},
        SdkCase{"EditorValueNameIgnoresCase", std::nullopt, "\"directory\"=\"E:\\\\x\"", "", QStringLiteral("E:\\x")},
        SdkCase{"EditorExpandStringIgnored", std::nullopt, "\"Directory\"=str(2):\"E:\\\\tools\"", "F:\\stored",
                QStringLiteral("F:\\stored")},
        SdkCase{"EditorDwordIgnored", std::nullopt, "\"Directory\"=dword:00000001", "F:\\stored",
                QStringLiteral("F:\\stored")},
        SdkCase{"EditorTextEndsAtNul", std::nullopt, "\"Directory\"=\"E:\\\\a\\0junk\"", "", QStringLiteral("E:\\a")},
        SdkCase{"EditorEmptyTextFallsThrough", std::nullopt, "\"Directory\"=\"\"", "F:\\stored",
                QStringLiteral("F:\\stored")},
        SdkCase{"StaleStoredChoiceUsedUnchanged", std::nullopt, "", "Q:\\gone", QStringLiteral("Q:\\gone")},
        SdkCase{"NothingAnywhereAsksTheUser", std::nullopt, "", "", QString()}),
    [](const testing::TestParamInfo<SdkCase>& info) { return std::string(info.param.name); });

} // namespace
} // namespace qmxtest
