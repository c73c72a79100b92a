#include "gui/parts/ExeChooser.h"

#include "core/os/Os.h"
#include "gui/toolkit/DirList.h"
#include "gui/toolkit/DriveList.h"
#include "gui/toolkit/FileList.h"
#include "gui/toolkit/Module1Ini.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QPushButton>

ExeChooser::ExeChooser(const QString& currentExe, const QString& fallbackDir, QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("ExeChooser"));
    setWindowTitle(Module1::Text(qmx::config::Text::GameChooseExe));

    ExeDrive = new qmx::DriveList(QStringLiteral("ExeDrive"), this);
    ExeDrive->setAccessibleName(tr("Drive"));
    ExeDir = new qmx::DirList(QStringLiteral("ExeDir"), this);
    ExeDir->setAccessibleName(tr("Directories"));
    ExeFile = new qmx::FileList(QStringLiteral("ExeFile"), this);
    ExeFile->setAccessibleName(tr("Programs"));
    ExeType = new QComboBox(this);
    ExeType->setObjectName(QStringLiteral("ExeType"));
    ExeType->addItem(Module1::Text(qmx::config::Text::GameExeFiles), QStringLiteral("*.exe"));
    ExeType->addItem(Module1::Text(qmx::config::Text::GameAllFiles), QStringLiteral("*"));
    ExeType->setAccessibleName(tr("File type"));
    // A game that is no .exe is shown among all files, picked.
    const bool exe = currentExe.isEmpty() || currentExe.endsWith(QStringLiteral(".exe"), Qt::CaseInsensitive);
    ExeType->setCurrentIndex(exe ? 0 : 1);
    ExeFile->setPattern(ExeType->currentData().toString());
    ExeOK = new QPushButton(Module1::Text(qmx::config::Text::GameOK), this);
    ExeOK->setObjectName(QStringLiteral("ExeOK"));
    ExeOK->setAccessibleName(ExeOK->text());
    ExeOK->setDefault(true);
    ExeCancel = new QPushButton(Module1::Text(qmx::config::Text::GameCancel), this);
    ExeCancel->setObjectName(QStringLiteral("ExeCancel"));
    ExeCancel->setAccessibleName(ExeCancel->text());

    auto* layout = new QGridLayout(this);
    layout->addWidget(ExeDrive, 0, 0);
    layout->addWidget(ExeDir, 1, 0);
    layout->addWidget(ExeFile, 0, 1, 2, 1);
    layout->addWidget(ExeType, 2, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(ExeOK);
    buttons->addWidget(ExeCancel);
    layout->addLayout(buttons, 3, 0, 1, 2);
    layout->setRowStretch(1, 1);
    resize(480, 320);

    connect(ExeDrive, &qmx::DriveList::Change, this, [this] { ExeDir->setPath(ExeDrive->Drive()); });
    connect(ExeDir, &qmx::DirList::Change, this, [this] {
        ExeFile->setPath(ExeDir->Path());
        updateOk();
    });
    connect(ExeFile, &qmx::FileList::Click, this, &ExeChooser::updateOk);
    connect(ExeType, qOverload<int>(&QComboBox::currentIndexChanged), this, [this] {
        ExeFile->setPattern(ExeType->currentData().toString());
        updateOk();
    });
    connect(ExeFile, &QListWidget::itemDoubleClicked, this, [this] {
        if (!chosenPath().isEmpty())
            accept();
    });
    connect(ExeOK, &QPushButton::clicked, this, &QDialog::accept);
    connect(ExeCancel, &QPushButton::clicked, this, &QDialog::reject);

    const int slash = currentExe.lastIndexOf(QLatin1Char('\\'));
    if (slash > 0 && openAt(currentExe.left(slash == 2 ? 3 : slash))) {
        const QString name = currentExe.mid(slash + 1);
        for (QListWidgetItem* item : ExeFile->findItems(name, Qt::MatchFixedString))
            ExeFile->setCurrentItem(item);
    } else {
        openAt(fallbackDir);
    }
    updateOk();
}

QString ExeChooser::chosenPath() const
{
    const QString name = ExeFile->FileName();
    if (name.isEmpty())
        return QString();
    const QString dir = ExeDir->Path();
    return dir.endsWith(QLatin1Char('\\')) ? dir + name : dir + QLatin1Char('\\') + name;
}

bool ExeChooser::openAt(const QString& dir)
{
    if (dir.isEmpty() || !qmx::os::directoryExists(dir.toStdString()))
        return false;
    // The drive first, as the main window's browsers restore: the directory is then opened on it.
    ExeDrive->setDrive(dir.left(3));
    if (qmx::DriveList::driveLetterOf(ExeDrive->Drive()) != qmx::DriveList::driveLetterOf(dir))
        return false;
    ExeDir->setPath(dir);
    ExeFile->setPath(ExeDir->Path());
    return true;
}

void ExeChooser::updateOk()
{
    ExeOK->setEnabled(!chosenPath().isEmpty());
}
