/* A stand-in for the SDK's compile tools (qmxbsp.exe, qmxvis.exe, qmxrad.exe): one Windows console
 * program built under each name. It shows and logs the command line it got, can take a while, and
 * the BSP stand-in leaves a .bsp beside the map, which is all the front end relies on.
 *
 *   QMX_STANDIN_SECONDS=n  or the switch -standin-seconds n   take n seconds (default 0)
 *   QMX_STANDIN_LOG=file   append the command line there (default: standin.log beside the program)
 *   QMX_STANDIN_HOLD=dir   while dir\hold exists, wait until dir\go does (tests look at the window meanwhile)
 *   QMX_STANDIN_FAIL=tool:n  the tool of that name reports an error and exits with n, writing no .bsp
 * The BSP stand-in rejects a map that holds the text "standin_leak" as leaking: the error, no .bsp, exit 1.
 */
#include <windows.h>

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

static void toolName(char* name, size_t size)
{
    char path[MAX_PATH];
    DWORD n = GetModuleFileNameA(NULL, path, sizeof path);
    const char* base = path;
    for (DWORD i = 0; i < n; ++i) {
        if (path[i] == '\\' || path[i] == '/')
            base = path + i + 1;
    }
    snprintf(name, size, "%s", n ? base : "qmx tool");
}

static void defaultLogPath(char* log, size_t size)
{
    char path[MAX_PATH];
    DWORD n = GetModuleFileNameA(NULL, path, sizeof path);
    char* slash = NULL;
    for (DWORD i = 0; i < n; ++i) {
        if (path[i] == '\\' || path[i] == '/')
            slash = path + i;
    }
    if (slash)
        *slash = '\0';
    snprintf(log, size, "%s\\standin.log", slash ? path : ".");
}

static int waitSeconds(int argc, char** argv)
{
    for (int i = 1; i + 1 < argc; ++i) {
        if (strcmp(argv[i], "-standin-seconds") == 0)
            return atoi(argv[i + 1]);
    }
    const char* env = getenv("QMX_STANDIN_SECONDS");
    return env ? atoi(env) : 0;
}

static int exists(const char* dir, const char* name)
{
    char path[MAX_PATH];
    snprintf(path, sizeof path, "%s\\%s", dir, name);
    return GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES;
}

static void holdWhileAsked(const char* dir)
{
    if (dir && *dir && exists(dir, "hold")) {
        while (exists(dir, "hold") && !exists(dir, "go")) // a folder removed with the test ends it too
            Sleep(10);
    }
}

static int endsWithVmf(const char* path)
{
    size_t n = strlen(path);
    return n >= 4 && _stricmp(path + n - 4, ".vmf") == 0;
}

/* The exit status QMX_STANDIN_FAIL asks this tool for; 0 when it asks nothing of it. */
static int askedFailure(const char* name, int* status)
{
    const char* fail = getenv("QMX_STANDIN_FAIL");
    size_t n = strlen(name);
    if (!fail || _strnicmp(fail, name, n) != 0 || fail[n] != ':')
        return 0;
    *status = atoi(fail + n + 1);
    return 1;
}

static int leaks(const char* map)
{
    char text[4096];
    FILE* f = fopen(map, "rb");
    size_t n = f ? fread(text, 1, sizeof text - 1, f) : 0;
    if (f)
        fclose(f);
    text[n] = '\0';
    return strstr(text, "standin_leak") != NULL;
}

static int writeBsp(const char* map)
{
    char bsp[MAX_PATH + 8];
    size_t n = strlen(map);
    if (!endsWithVmf(map) || n >= MAX_PATH) {
        printf("No .vmf map given; nothing compiled.\n");
        return 1;
    }
    memcpy(bsp, map, n - 4);
    strcpy(bsp + n - 4, ".bsp");
    FILE* f = fopen(bsp, "wb");
    if (!f) {
        printf("Cannot write %s\n", bsp);
        return 1;
    }
    fprintf(f, "stand-in BSP compiled from %s\r\n", map);
    fclose(f);
    printf("Wrote %s\n", bsp);
    return 0;
}

int main(int argc, char** argv)
{
    char name[MAX_PATH];
    toolName(name, sizeof name);
    const char* commandLine = GetCommandLineA();
    printf("%s: stand-in for testing, not the real compile tool.\n", name);
    printf("Command line: %s\n", commandLine);
    fflush(stdout);

    char log[MAX_PATH + 16];
    const char* envLog = getenv("QMX_STANDIN_LOG");
    if (envLog && *envLog)
        snprintf(log, sizeof log, "%s", envLog);
    else
        defaultLogPath(log, sizeof log);
    FILE* f = fopen(log, "ab");
    if (f) {
        fprintf(f, "%s\r\n", commandLine);
        fclose(f);
    }

    holdWhileAsked(getenv("QMX_STANDIN_HOLD"));
    int seconds = waitSeconds(argc, argv);
    for (int step = 1; step <= 4; ++step) {
        if (seconds > 0)
            Sleep((DWORD)seconds * 250);
        printf("  step %d of 4 done\n", step);
        fflush(stdout);
    }

    int rc = 0;
    if (askedFailure(name, &rc)) {
        printf("%s: error: stand-in failure, as QMX_STANDIN_FAIL asks.\n", name);
        return rc;
    }
    const int isBsp = _stricmp(name, "qmxbsp.exe") == 0 && argc > 1;
    if (isBsp && leaks(argv[argc - 1])) {
        printf("**** leaked ****\nEntity info_player_start (0.00 0.00 16.00) leaked!\n"
               "The map is open to the void: close the hole and compile again.\n");
        return 1;
    }
    if (isBsp)
        rc = writeBsp(argv[argc - 1]);
    printf("%s: finished.\n", name);
    return rc;
}
