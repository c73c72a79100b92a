#include "gui/windows/Form2.h"

#include "gui/toolkit/Application.h"
#include "gui/toolkit/CentreWindow.h"
#include "gui/toolkit/DirList.h"
#include "gui/toolkit/DriveList.h"
#include "gui/toolkit/Module1Ini.h"

#include <QCloseEvent>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

Form2::Form2(QWidget* parent)
    : QWidget(parent, Qt::Window)
{
    setObjectName(QStringLiteral("Form2"));
    setWindowTitle(QStringLiteral("Please select your SourceSDK\\bin-Directory"));

    Label1 = new QLabel(QStringLiteral("The Auto-Detection of your SourceSDK-Bin folder failed. Please select your "
                                       "SourceSDK-Bin folder manually."),
                        this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setWordWrap(true);
    Drive1 = new qmx::DriveList(QStringLiteral("Drive1"), this);
    Dir1 = new qmx::DirList(QStringLiteral("Dir1"), this);
    Command1 = new QPushButton(QStringLiteral("Done!"), this);
    Command1->setObjectName(QStringLiteral("Command1"));

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Label1);
    layout->addWidget(Drive1);
    layout->addWidget(Dir1, 1);
    layout->addWidget(Command1);
    resize(360, 380);

    connect(Drive1, &qmx::DriveList::Change, this, &Form2::Form2_Drive1_Change);
    connect(Command1, &QPushButton::clicked, this, &Form2::Form2_Command1_Click);
}

void Form2::Form2_Form_Load()
{
    qmx::CentreOnScreen(*this);
}

void Form2::Form2_Drive1_Change()
{
    Dir1->setPath(Drive1->Drive());
}

void Form2::Form2_Command1_Click()
{
    Module1::SetSetting(qmx::config::Setting::SDKDir, Dir1->Path());
    hide();
    // What the file holds now is what later starts will find, so that is what this run uses too.
    emit Done(Module1::Setting(qmx::config::Setting::SDKDir));
}

void Form2::Form2_Form_Unload()
{
    qmx::EndProgram();
}

void Form2::closeEvent(QCloseEvent* event)
{
    // Closing this window ends the program at once; the main window's shut-down does not run.
    event->accept();
    Form2_Form_Unload();
}
