#include "gui/windows/SdkFolderWindow.h"

#include "gui/toolkit/Application.h"
#include "gui/toolkit/CentreWindow.h"
#include "gui/toolkit/DirList.h"
#include "gui/toolkit/DriveList.h"
#include "gui/toolkit/Texts.h"

#include <QCloseEvent>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace qmx {

SdkFolderWindow::SdkFolderWindow()
    : QWidget(nullptr, Qt::Window)
{
    setObjectName(QStringLiteral("Form2"));
    setWindowTitle(QStringLiteral("Please select your SourceSDK\\bin-Directory"));
    auto* label
        = new QLabel(QStringLiteral("The Auto-Detection of your SourceSDK-Bin folder failed. Please select your "
                                    "SourceSDK-Bin folder manually."),
                     this);
    label->setObjectName(QStringLiteral("Label1"));
    label->setWordWrap(true);
    m_drives = new DriveList(QStringLiteral("Drive1"), this);
    m_dirs = new DirList(QStringLiteral("Dir1"), this);
    auto* doneButton = new QPushButton(QStringLiteral("Done!"), this);
    doneButton->setObjectName(QStringLiteral("Command1"));

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(label);
    layout->addWidget(m_drives);
    layout->addWidget(m_dirs, 1);
    layout->addWidget(doneButton);
    resize(360, 380);

    connect(m_drives, &DriveList::Change, this, [this] { m_dirs->setPath(m_drives->Drive()); });
    connect(doneButton, &QPushButton::clicked, this, [this] {
        storeSetting(config::Setting::SDKDir, m_dirs->Path());
        hide();
        // What the file holds now is what later starts will find, so that is what this run uses too.
        emit done(setting(config::Setting::SDKDir));
    });
}

void SdkFolderWindow::load()
{
    CentreOnScreen(*this);
}

void SdkFolderWindow::closeEvent(QCloseEvent* event)
{
    // Closing this window ends the program at once; the main window's shut-down does not run.
    event->accept();
    EndProgram();
}

} // namespace qmx
