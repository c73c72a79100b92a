/* A stand-in for a game (qmxgame.exe): a small Windows program that records how it was started, the
 * way a test or a newcomer can check what the front end passed to the game.
 *
 * It writes, in UTF-8 with CR LF, the command line as it got it, its working directory, and then each
 * argument after the program's name as the Windows argument rules split them:
 *
 *   command line: "Z:\games\qmxgame.exe" -novid -dev +map castle
 *   working directory: Z:\games
 *   argument: -novid
 *   ...
 *
 * into the file QMX_GAME_LOG names (tests), replacing what was there; without that variable into
 * qmxgame.log beside itself, and it then also shows the same text in a message box, as a game would
 * show the map it loads.
 *
 * With QMX_GAME_HOLD=dir it keeps running while dir\hold exists and dir\go does not, then leaves
 * dir\ended: a test can see that the front end did not wait for the game.
 */
#include <windows.h>

#include <shellapi.h>
#include <stdio.h>
#include <stdlib.h>
#include <wchar.h>

static void appendUtf8(char** text, size_t* size, const wchar_t* part)
{
    int n = WideCharToMultiByte(CP_UTF8, 0, part, -1, NULL, 0, NULL, NULL);
    if (n <= 1)
        return;
    char* grown = realloc(*text, *size + (size_t)n);
    if (!grown)
        return;
    *text = grown;
    WideCharToMultiByte(CP_UTF8, 0, part, -1, *text + *size, n, NULL, NULL);
    *size += (size_t)n - 1;
}

static void appendLine(char** text, size_t* size, const wchar_t* label, const wchar_t* value)
{
    appendUtf8(text, size, label);
    appendUtf8(text, size, value);
    appendUtf8(text, size, L"\r\n");
}

/* Writes next to the target first and then moves it into place, so a reader never sees half a record. */
static void writeRecord(const wchar_t* path, const char* text, size_t size)
{
    wchar_t temporary[MAX_PATH + 8];
    if (swprintf(temporary, MAX_PATH + 8, L"%ls.new", path) < 0)
        return;
    HANDLE f = CreateFileW(temporary, GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
    if (f == INVALID_HANDLE_VALUE)
        return;
    DWORD written = 0;
    WriteFile(f, text, (DWORD)size, &written, NULL);
    CloseHandle(f);
    MoveFileExW(temporary, path, MOVEFILE_REPLACE_EXISTING);
}

static int exists(const wchar_t* dir, const wchar_t* name)
{
    wchar_t path[MAX_PATH];
    return swprintf(path, MAX_PATH, L"%ls\\%ls", dir, name) > 0 && GetFileAttributesW(path) != INVALID_FILE_ATTRIBUTES;
}

static void holdWhileAsked(void)
{
    wchar_t dir[MAX_PATH], ended[MAX_PATH];
    DWORD n = GetEnvironmentVariableW(L"QMX_GAME_HOLD", dir, MAX_PATH);
    if (n == 0 || n >= MAX_PATH || !exists(dir, L"hold"))
        return;
    while (exists(dir, L"hold") && !exists(dir, L"go")) // a folder removed with the test ends it too
        Sleep(10);
    if (swprintf(ended, MAX_PATH, L"%ls\\ended", dir) > 0)
        CloseHandle(CreateFileW(ended, GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL));
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR commandLine, int show)
{
    (void)instance;
    (void)previous;
    (void)commandLine;
    (void)show;
    const wchar_t* line = GetCommandLineW();
    wchar_t directory[MAX_PATH];
    if (!GetCurrentDirectoryW(MAX_PATH, directory))
        directory[0] = L'\0';

    char* text = NULL;
    size_t size = 0;
    appendLine(&text, &size, L"command line: ", line);
    appendLine(&text, &size, L"working directory: ", directory);
    int argc = 0;
    wchar_t** argv = CommandLineToArgvW(line, &argc);
    for (int i = 1; argv && i < argc; ++i)
        appendLine(&text, &size, L"argument: ", argv[i]);
    if (argv)
        LocalFree(argv);
    if (!text)
        return 1;

    wchar_t log[MAX_PATH];
    DWORD n = GetEnvironmentVariableW(L"QMX_GAME_LOG", log, MAX_PATH);
    const int quiet = n > 0 && n < MAX_PATH;
    if (!quiet) {
        n = GetModuleFileNameW(NULL, log, MAX_PATH);
        wchar_t* slash = wcsrchr(log, L'\\');
        if (n == 0 || n >= MAX_PATH || !slash || (size_t)(slash - log) + 13 >= MAX_PATH) {
            free(text);
            return 1;
        }
        wcscpy(slash + 1, L"qmxgame.log");
    }
    writeRecord(log, text, size);
    holdWhileAsked();

    if (!quiet) {
        int wide = MultiByteToWideChar(CP_UTF8, 0, text, (int)size, NULL, 0);
        wchar_t* shown = calloc((size_t)wide + 1, sizeof(wchar_t));
        if (shown) {
            MultiByteToWideChar(CP_UTF8, 0, text, (int)size, shown, wide);
            MessageBoxW(NULL, shown, L"Stand-in game: not the real game", MB_OK | MB_ICONINFORMATION);
            free(shown);
        }
    }
    free(text);
    return 0;
}
