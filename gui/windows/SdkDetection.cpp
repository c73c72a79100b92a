#include "gui/windows/SdkDetection.h"

#include "core/storage/SdkDirectory.h"
#include "gui/toolkit/Application.h"
#include "gui/toolkit/Module1Ini.h"
#include "gui/windows/Form1.h"
#include "gui/windows/Form2.h"

#include <QLabel>

namespace Module1 {

QString DetectSdkDirectory()
{
    return QString::fromStdString(qmx::config::detectSdkDirectory());
}

void DetectSdkDirectory(Form1& form)
{
    const QString detected = DetectSdkDirectory();
    if (detected.isEmpty()) {
        // The folder window lives as long as the main window; it is not a child so that hiding the
        // main window leaves it alone.
        auto* folderWindow = new Form2;
        QObject::connect(&form, &QObject::destroyed, folderWindow, [folderWindow] { delete folderWindow; });
        QObject::connect(folderWindow, &Form2::Done, &form, [&form](const QString& sdkDir) {
            form.setSdkDirectory(sdkDir);
            form.show();
        });
        folderWindow->Form2_Form_Load();
        folderWindow->show();
        form.hide();
    }
    form.setSdkDirectory(detected);
}

} // namespace Module1
