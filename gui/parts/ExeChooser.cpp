#include "gui/parts/ExeChooser.h"

#include "core/os/Os.h"
#include "gui/toolkit/DirList.h"
#include "gui/toolkit/DriveList.h"
#include "gui/toolkit/FileList.h"
#include "gui/toolkit/Texts.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QPushButton>

namespace qmx {

ExeChooser::ExeChooser(const QString& currentExe, const QString& fallbackDir, QWidget* parent)
    : QDialog(parent)
{
    build(currentExe);
    connect(m_drive, &DriveList::Change, this, [this] { m_dir->setPath(m_drive->Drive()); });
    connect(m_dir, &DirList::Change, this, [this] {
        m_file->setPath(m_dir->Path());
        updateOk();
    });
    connect(m_file, &FileList::Click, this, &ExeChooser::updateOk);
    connect(m_type, qOverload<int>(&QComboBox::currentIndexChanged), this, [this] {
        m_file->setPattern(m_type->currentData().toString());
        updateOk();
    });
    connect(m_file, &QListWidget::itemDoubleClicked, this, [this] {
        if (!chosenPath().isEmpty())
            accept();
    });

    const int slash = currentExe.lastIndexOf(QLatin1Char('\\'));
    if (slash > 0 && openAt(currentExe.left(slash == 2 ? 3 : slash))) {
        for (QListWidgetItem* item : m_file->findItems(currentExe.mid(slash + 1), Qt::MatchFixedString))
            m_file->setCurrentItem(item);
    } else {
        openAt(fallbackDir);
    }
    updateOk();
}

void ExeChooser::build(const QString& currentExe)
{
    setObjectName(QStringLiteral("ExeChooser"));
    setWindowTitle(languageText(config::Text::GameChooseExe));
    m_drive = new DriveList(QStringLiteral("ExeDrive"), this);
    m_drive->setAccessibleName(tr("Drive"));
    m_dir = new DirList(QStringLiteral("ExeDir"), this);
    m_dir->setAccessibleName(tr("Directories"));
    m_file = new FileList(QStringLiteral("ExeFile"), this);
    m_file->setAccessibleName(tr("Programs"));
    m_type = new QComboBox(this);
    m_type->setObjectName(QStringLiteral("ExeType"));
    m_type->addItem(languageText(config::Text::GameExeFiles), QStringLiteral("*.exe"));
    m_type->addItem(languageText(config::Text::GameAllFiles), QStringLiteral("*"));
    m_type->setAccessibleName(tr("File type"));
    // A game that is no .exe is shown among all files, picked.
    const bool exe = currentExe.isEmpty() || currentExe.endsWith(QStringLiteral(".exe"), Qt::CaseInsensitive);
    m_type->setCurrentIndex(exe ? 0 : 1);
    m_file->setPattern(m_type->currentData().toString());
    m_ok = new QPushButton(languageText(config::Text::GameOK), this);
    m_ok->setObjectName(QStringLiteral("ExeOK"));
    m_ok->setAccessibleName(m_ok->text());
    m_ok->setDefault(true);
    auto* cancel = new QPushButton(languageText(config::Text::GameCancel), this);
    cancel->setObjectName(QStringLiteral("ExeCancel"));
    cancel->setAccessibleName(cancel->text());
    connect(m_ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

    auto* layout = new QGridLayout(this);
    layout->addWidget(m_drive, 0, 0);
    layout->addWidget(m_dir, 1, 0);
    layout->addWidget(m_file, 0, 1, 2, 1);
    layout->addWidget(m_type, 2, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(m_ok);
    buttons->addWidget(cancel);
    layout->addLayout(buttons, 3, 0, 1, 2);
    layout->setRowStretch(1, 1);
    resize(480, 320);
}

QString ExeChooser::chosenPath() const
{
    const QString name = m_file->FileName();
    if (name.isEmpty())
        return QString();
    const QString dir = m_dir->Path();
    return dir.endsWith(QLatin1Char('\\')) ? dir + name : dir + QLatin1Char('\\') + name;
}

bool ExeChooser::openAt(const QString& dir)
{
    if (dir.isEmpty() || !os::directoryExists(dir.toStdString()))
        return false;
    // The drive first, as the main window's browsers restore: the directory is then opened on it.
    m_drive->setDrive(dir.left(3));
    if (DriveList::driveLetterOf(m_drive->Drive()) != DriveList::driveLetterOf(dir))
        return false;
    m_dir->setPath(dir);
    m_file->setPath(m_dir->Path());
    return true;
}

void ExeChooser::updateOk()
{
    m_ok->setEnabled(!chosenPath().isEmpty());
}

} // namespace qmx
