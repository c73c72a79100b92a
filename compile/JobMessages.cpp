#include "compile/JobMessages.h"

#include "storage/Module1Ini.h"

namespace qmx::compile {

namespace {

struct Entry
{
    JobMessage message;
    const char* key;
    const char* english;
};

constexpr Entry kEntries[] = {
    {JobMessage::NoSdkDir, "CompileNoSdkDir",
     "No SDK directory is set, so compile.bat cannot be written. Choose the SDK's bin directory and compile "
     "again."},
    {JobMessage::SdkDirMissing, "CompileSdkDirMissing",
     "The SDK directory does not exist. Check that the SDK is installed there, or choose its bin directory "
     "again, and compile again."},
    {JobMessage::SdkDirTooLong, "CompileSdkDirTooLong",
     "The path of the SDK directory is too long for compile.bat. Move the SDK to a directory with a shorter "
     "path and compile again."},
    {JobMessage::BatchFailed, "CompileBatchFailed",
     "compile.bat could not be written into the SDK directory. Check that the directory is writable and the "
     "disk is not full, then compile again."},
    {JobMessage::RunFailed, "CompileRunFailed",
     "compile.bat could not be started in a console window. On Linux, install Wine (it provides wineconsole), "
     "then compile again."},
    {JobMessage::Running, "CompileRunning", "Compiling, elapsed time:"},
};

const Entry& entry(JobMessage message)
{
    for (const Entry& e : kEntries) {
        if (e.message == message)
            return e;
    }
    return kEntries[0];
}

} // namespace

const char* jobMessageKey(JobMessage message)
{
    return entry(message).key;
}

QString jobMessageText(JobMessage message)
{
    const Entry& e = entry(message);
    const QString text = Module1::LanguageText(e.key);
    return text.isEmpty() ? QString::fromUtf8(e.english) : text;
}

QString jobMessagePrompt(JobMessage message, const QString& detail)
{
    const QString text = jobMessageText(message);
    return detail.isEmpty() ? text : text + QStringLiteral("\n\n") + detail;
}

} // namespace qmx::compile
