#include "gui/toolkit/Texts.h"

namespace qmx {

QString languageText(config::Text text)
{
    return QString::fromStdString(config::text(text));
}

QString setting(config::Setting setting)
{
    return QString::fromStdString(config::read(setting));
}

void storeSetting(config::Setting setting, const QString& value)
{
    config::write(setting, value.toStdString());
}

} // namespace qmx
