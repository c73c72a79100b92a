#include "gui/parts/GameDialog.h"

#include "core/game/GameSettings.h"
#include "core/storage/IniFile.h"
#include "gui/parts/ExeChooser.h"
#include "gui/toolkit/Module1Ini.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {

QString caption(qmx::config::Text id)
{
    return Module1::Text(id);
}

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
    edit->setMaxLength(static_cast<int>(qmx::ini::kMaxValueBytes));
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
    setWindowTitle(caption(qmx::config::Text::GameTitle));
    const qmx::game::GameSettings settings = qmx::game::readGameSettings();

    GameExeLabel = makeLabel("GameExeLabel", caption(qmx::config::Text::GameExe), this);
    GameExe = makeEdit("GameExe", GameExeLabel, QString::fromStdString(settings.executable), this);
    GameBrowse = makeButton("GameBrowse", caption(qmx::config::Text::GameBrowse), this);
    GameParametersLabel = makeLabel("GameParametersLabel", caption(qmx::config::Text::GameParameters), this);
    GameParameters = makeEdit("GameParameters", GameParametersLabel, QString::fromStdString(settings.parameters), this);
    GamePlaceholders = makeLabel("GamePlaceholders", caption(qmx::config::Text::GamePlaceholders), this);
    GamePlaceholders->setWordWrap(true);
    GamePlaceholders->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    GameOK = makeButton("GameOK", caption(qmx::config::Text::GameOK), this);
    GameOK->setDefault(true);
    GameCancel = makeButton("GameCancel", caption(qmx::config::Text::GameCancel), this);

    auto* layout = new QGridLayout(this);
    layout->addWidget(GameExeLabel, 0, 0);
    layout->addWidget(GameExe, 0, 1);
    layout->addWidget(GameBrowse, 0, 2);
    layout->addWidget(GameParametersLabel, 1, 0);
    layout->addWidget(GameParameters, 1, 1, 1, 2);
    layout->addWidget(GamePlaceholders, 2, 1, 1, 2);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(GameOK);
    buttons->addWidget(GameCancel);
    layout->addLayout(buttons, 3, 0, 1, 3);
    layout->setColumnStretch(1, 1);
    // The explanation wraps: the height it needs at this width, not at its narrowest.
    resize(560, hasHeightForWidth() ? heightForWidth(560) : sizeHint().height());

    connect(GameBrowse, &QPushButton::clicked, this, &GameDialog::GameDialog_GameBrowse_Click);
    connect(GameOK, &QPushButton::clicked, this, &GameDialog::GameDialog_GameOK_Click);
    connect(GameCancel, &QPushButton::clicked, this, &QDialog::reject);
}

void GameDialog::GameDialog_GameBrowse_Click()
{
    // Where the executable already is, else the game directory the maps go to.
    ExeChooser chooser(GameExe->text().trimmed(), m_gameDir, this);
    if (chooser.exec() == QDialog::Accepted)
        GameExe->setText(chooser.chosenPath());
}

void GameDialog::GameDialog_GameOK_Click()
{
    qmx::game::writeGameCommand(GameExe->text().trimmed().toStdString(), GameParameters->text().toStdString());
    accept();
}
