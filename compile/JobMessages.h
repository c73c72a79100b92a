#pragma once

// Texts of the compile job's own failures. They come from the language file like every message; a
// user's language file from before these keys existed gets the built-in English text instead.

#include <QString>

namespace qmx::compile {

enum class JobMessage
{
    NoSdkDir, // no SDK directory is set
    SdkDirMissing, // the SDK directory has no short form: it does not exist
    SdkDirTooLong, // its short form leaves no room for "\compile.bat"
    BatchFailed, // compile.bat could not be created or written
    RunFailed, // the console runner could not be started
    Running // status line while compile.bat runs
};

// The language file's key of a message.
const char* jobMessageKey(JobMessage message);
// The language file's text, or the built-in English text when the key is missing or empty.
QString jobMessageText(JobMessage message);
// The text, and on a line of its own what exactly failed.
QString jobMessagePrompt(JobMessage message, const QString& detail);

} // namespace qmx::compile
