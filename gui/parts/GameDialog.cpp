#include "gui/parts/GameDialog.h"

#include "core/game/GameSettings.h"
#include "core/storage/IniFile.h"
#include "gui/parts/ExeChooser.h"
#include "gui/toolkit/Texts.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace qmx {

namespace {

QLabel* makeLabel(const char* name, const QString& caption, QWidget* parent)
{
    auto* label = new QLabel(caption, parent);
    label->setObjectName(QLatin1String(name));
    label->setAccessibleName(caption);
    return label;
}

QPushButton* makeButton(const char* name, const QString& caption, QWidget* parent)
{
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(QLatin1String(name));
    button->setAccessibleName(caption);
    return button;
}

// A line edit named like the label that stands beside it, which is what it shows the user.
QLineEdit* makeEdit(const char* name, QLabel* label, const QString& value, QWidget* parent)
{
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(QLatin1String(name));
    edit->setAccessibleName(label->text());
    // The settings file gives back this much of a value; more would be cut off unseen.
    edit->setMaxLength(static_cast<int>(ini::kMaxValueBytes));
    edit->setText(value);
    label->setBuddy(edit);
    return edit;
}

} // namespace

GameDialog::GameDialog(const QString& gameDir, QWidget* parent)
    : QDialog(parent)
    , m_gameDir(gameDir)
{
    setObjectName(QStringLiteral("GameDialog"));
    setWindowTitle(languageText(config::Text::GameTitle));
    const game::GameSettings settings = game::readGameSettings();
    QLabel* exeLabel = makeLabel("GameExeLabel", languageText(config::Text::GameExe), this);
    m_exe = makeEdit("GameExe", exeLabel, QString::fromStdString(settings.executable), this);
    QPushButton* browse = makeButton("GameBrowse", languageText(config::Text::GameBrowse), this);
    QLabel* parametersLabel = makeLabel("GameParametersLabel", languageText(config::Text::GameParameters), this);
    m_parameters = makeEdit("GameParameters", parametersLabel, QString::fromStdString(settings.parameters), this);
    QLabel* placeholders = makeLabel("GamePlaceholders", languageText(config::Text::GamePlaceholders), this);
    placeholders->setWordWrap(true);
    placeholders->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    QPushButton* ok = makeButton("GameOK", languageText(config::Text::GameOK), this);
    ok->setDefault(true);
    QPushButton* cancel = makeButton("GameCancel", languageText(config::Text::GameCancel), this);

    auto* layout = new QGridLayout(this);
    layout->addWidget(exeLabel, 0, 0);
    layout->addWidget(m_exe, 0, 1);
    layout->addWidget(browse, 0, 2);
    layout->addWidget(parametersLabel, 1, 0);
    layout->addWidget(m_parameters, 1, 1, 1, 2);
    layout->addWidget(placeholders, 2, 1, 1, 2);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    layout->addLayout(buttons, 3, 0, 1, 3);
    layout->setColumnStretch(1, 1);
    // The explanation wraps: the height it needs at this width, not at its narrowest.
    resize(560, hasHeightForWidth() ? heightForWidth(560) : sizeHint().height());

    connect(browse, &QPushButton::clicked, this, &GameDialog::browse);
    connect(ok, &QPushButton::clicked, this, &GameDialog::store);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

void GameDialog::browse()
{
    // Where the executable already is, else the game directory the maps go to.
    ExeChooser chooser(m_exe->text().trimmed(), m_gameDir, this);
    if (chooser.exec() == QDialog::Accepted)
        m_exe->setText(chooser.chosenPath());
}

void GameDialog::store()
{
    game::writeGameCommand(m_exe->text().trimmed().toStdString(), m_parameters->text().toStdString());
    accept();
}

} // namespace qmx
