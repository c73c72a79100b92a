/* Stand-ins for the SDK's compile tools and for a game: one Windows program. Built as qmxbsp.exe, qmxvis.exe and
 * qmxrad.exe (and as hh.exe, a help viewer), it is a console tool; built with QMX_STANDIN_GAME=1 as qmxgame.exe,
 * a GUI program, it is the game.
 *
 * A tool shows the command line it got and appends it (in the ANSI code page, CR LF) to a log, can take a while,
 * and the BSP tool leaves a .bsp beside the map, which is all the front end relies on.
 *   QMX_STANDIN_SECONDS=n  take n seconds (default 0)
 *   QMX_STANDIN_LOG=file   the log (default: standin.log beside the program)
 *   QMX_STANDIN_HOLD=dir   while dir\hold exists, wait until dir\go does (tests look at the window meanwhile)
 *   QMX_STANDIN_FAIL=tool:n  the tool of that name reports an error and exits with n, writing no .bsp
 * The BSP tool rejects a map that holds the text "standin_leak" as leaking: the error, no .bsp, exit 1.
 *
 * The game records how it was started, the way a test or a newcomer can check what the front end passed to the
 * game. It writes, in UTF-8 with CR LF, the command line as it got it, its working directory, and then each
 * argument after the program's name as the Windows argument rules split them:
 *
 *   command line: "Z:\games\qmxgame.exe" -novid -dev +map castle
 *   working directory: Z:\games
 *   argument: -novid
 *   ...
 *
 * into the file QMX_GAME_LOG names (tests), replacing what was there; without that variable into qmxgame.log
 * beside itself, and it then also shows the same text in a message box, as a game would show the map it loads.
 * With QMX_GAME_HOLD=dir it holds as a tool does, then leaves dir\ended: a test can see that the front end did
 * not wait for the game.
 *
 * A hold ends also when its folder goes, so a stand-in held at a test's end does not outlive the test's folder.
 */
#include <windows.h>

#include <shellapi.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <wchar.h>

#ifndef QMX_STANDIN_GAME
#define QMX_STANDIN_GAME 0
#endif

/* dir\file into path (MAX_PATH characters); NULL when it does not fit. */
static const wchar_t* join(wchar_t* path, const wchar_t* dir, const wchar_t* file)
{
    return swprintf(path, MAX_PATH, L"%ls\\%ls", dir, file) > 0 ? path : NULL;
}

static int exists(const wchar_t* dir, const wchar_t* file)
{
    wchar_t path[MAX_PATH];
    return join(path, dir, file) && GetFileAttributesW(path) != INVALID_FILE_ATTRIBUTES;
}

/* Waits while the folder the variable names (left in dir) holds a file "hold" and no file "go"; whether it waited. */
static int held(const wchar_t* variable, wchar_t* dir)
{
    DWORD n = GetEnvironmentVariableW(variable, dir, MAX_PATH);
    if (n == 0 || n >= MAX_PATH || !exists(dir, L"hold"))
        return 0;
    while (exists(dir, L"hold") && !exists(dir, L"go")) // a folder removed with the test ends it too
        Sleep(10);
    return 1;
}

/* The file the variable names, else the file of the given name beside this program; whether the variable named it. */
static int logPath(const wchar_t* variable, const wchar_t* besideProgram, wchar_t* path)
{
    DWORD n = GetEnvironmentVariableW(variable, path, MAX_PATH);
    if (n > 0 && n < MAX_PATH)
        return 1;
    wchar_t self[MAX_PATH];
    wchar_t* slash = GetModuleFileNameW(NULL, self, MAX_PATH) ? wcsrchr(self, L'\\') : NULL;
    if (slash)
        *slash = L'\0';
    join(path, slash ? self : L".", besideProgram);
    return 0;
}

/* Leaves a .bsp beside a .vmf map unless the map leaks: 0, or 1 when it wrote none. */
static int compileBsp(const char* map)
{
    char text[4096], bsp[MAX_PATH + 8];
    FILE* f = fopen(map, "rb");
    size_t n = f ? fread(text, 1, sizeof text - 1, f) : 0;
    if (f)
        fclose(f);
    text[n] = '\0';
    if (strstr(text, "standin_leak")) {
        printf("**** leaked ****\nEntity info_player_start (0.00 0.00 16.00) leaked!\n"
               "The map is open to the void: close the hole and compile again.\n");
        return 1;
    }
    n = strlen(map);
    if (n < 4 || n >= MAX_PATH || _stricmp(map + n - 4, ".vmf") != 0) {
        printf("No .vmf map given; nothing compiled.\n");
        return 1;
    }
    snprintf(bsp, sizeof bsp, "%.*s.bsp", (int)(n - 4), map);
    if (!(f = fopen(bsp, "wb"))) {
        printf("Cannot write %s\n", bsp);
        return 1;
    }
    fprintf(f, "stand-in BSP compiled from %s\r\n", map);
    fclose(f);
    printf("Wrote %s\n", bsp);
    return 0;
}

static int tool(int argc, char** argv)
{
    char self[MAX_PATH] = "qmx tool";
    GetModuleFileNameA(NULL, self, MAX_PATH);
    const char* name = strrchr(self, '\\') ? strrchr(self, '\\') + 1 : self;
    const char* commandLine = GetCommandLineA();
    printf("%s: stand-in for testing, not the real compile tool.\nCommand line: %s\n", name, commandLine);
    fflush(stdout);
    wchar_t path[MAX_PATH];
    logPath(L"QMX_STANDIN_LOG", L"standin.log", path);
    FILE* log = _wfopen(path, L"ab");
    if (log) {
        fprintf(log, "%s\r\n", commandLine);
        fclose(log);
    }

    held(L"QMX_STANDIN_HOLD", path);
    const char* seconds = getenv("QMX_STANDIN_SECONDS");
    const int quarter = seconds ? atoi(seconds) * 250 : 0;
    for (int step = 1; step <= 4; ++step) {
        Sleep(quarter > 0 ? (DWORD)quarter : 0);
        printf("  step %d of 4 done\n", step);
        fflush(stdout);
    }

    const char* fail = getenv("QMX_STANDIN_FAIL");
    const size_t length = strlen(name);
    if (fail && _strnicmp(fail, name, length) == 0 && fail[length] == ':') {
        printf("%s: error: stand-in failure, as QMX_STANDIN_FAIL asks.\n", name);
        return atoi(fail + length + 1);
    }
    if (_stricmp(name, "qmxbsp.exe") == 0 && argc > 1 && compileBsp(argv[argc - 1]))
        return 1;
    printf("%s: finished.\n", name);
    return 0;
}

/* The longest command line, split into as many arguments as it can hold, fits. */
static wchar_t record[1 << 18];
static char recordUtf8[3 << 18];

static int game(void)
{
    const wchar_t* line = GetCommandLineW();
    wchar_t directory[MAX_PATH] = L"", path[MAX_PATH];
    GetCurrentDirectoryW(MAX_PATH, directory);
    int n = swprintf(record, 1 << 18, L"command line: %ls\r\nworking directory: %ls\r\n", line, directory), argc = 0;
    wchar_t** argv = CommandLineToArgvW(line, &argc);
    for (int i = 1; argv && i < argc; ++i)
        n += swprintf(record + n, (1 << 18) - n, L"argument: %ls\r\n", argv[i]);
    LocalFree(argv);

    // Written beside the log first and then moved into place, so that a reader never sees half a record.
    const int quiet = logPath(L"QMX_GAME_LOG", L"qmxgame.log", path);
    wchar_t written[MAX_PATH + 8];
    swprintf(written, MAX_PATH + 8, L"%ls.new", path);
    FILE* f = _wfopen(written, L"wb");
    if (f) {
        fwrite(recordUtf8, 1, (size_t)WideCharToMultiByte(CP_UTF8, 0, record, n, recordUtf8, 3 << 18, NULL, NULL), f);
        fclose(f);
        MoveFileExW(written, path, MOVEFILE_REPLACE_EXISTING);
    }
    if (held(L"QMX_GAME_HOLD", written) && join(path, written, L"ended") && (f = _wfopen(path, L"wb")))
        fclose(f);
    if (!quiet)
        MessageBoxW(NULL, record, L"Stand-in game: not the real game", MB_OK | MB_ICONINFORMATION);
    return 0;
}

int main(int argc, char** argv)
{
    return QMX_STANDIN_GAME ? game() : tool(argc, argv);
}
