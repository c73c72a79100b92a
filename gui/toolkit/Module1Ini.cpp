#include "gui/toolkit/Module1Ini.h"

#include "core/storage/IniFile.h"
#include "core/storage/ProgramFiles.h"

namespace Module1 {

QString ReadIniValue(const QString& file, const QString& section, const QString& key, const QString& def)
{
    return QString::fromStdString(
        qmx::ini::readValue(file.toStdString(), section.toStdString(), key.toStdString(), def.toStdString()));
}

void WriteIniValue(const QString& file, const QString& section, const QString& key, const QString& value)
{
    qmx::ini::writeValue(file.toStdString(), section.toStdString(), key.toStdString(), value.toStdString());
}

QString SettingsFile()
{
    return QString::fromStdString(qmx::settingsFilePath());
}

QString LanguageFile()
{
    return QString::fromStdString(qmx::languageFilePath());
}

QString LanguageText(const char* key)
{
    return ReadIniValue(LanguageFile(), QStringLiteral("language"), QString::fromLatin1(key));
}

QString Setting(qmx::config::Setting setting)
{
    return QString::fromStdString(qmx::config::read(setting));
}

void SetSetting(qmx::config::Setting setting, const QString& value)
{
    qmx::config::write(setting, value.toStdString());
}

QString Text(qmx::config::Text text)
{
    return QString::fromStdString(qmx::config::text(text));
}

} // namespace Module1
