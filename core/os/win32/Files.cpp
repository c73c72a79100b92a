#include "core/os/Os.h"

#include "core/os/Ascii.h"
#include "core/os/TempName.h"
#include "core/os/Wildcard.h"
#include "core/os/win32/Wide.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <cwchar>
#include <optional>

namespace qmx::os {

namespace {

constexpr DWORD kNotListed = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;

std::string errorText(const char* what, std::string_view path, DWORD code)
{
    wchar_t* msg = nullptr;
    FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                   code, 0, reinterpret_cast<wchar_t*>(&msg), 0, nullptr);
    std::string text = std::string(what) + " " + std::string(path) + ": ";
    if (msg) {
        std::string m = narrow(msg);
        LocalFree(msg);
        while (!m.empty() && (m.back() == '\n' || m.back() == '\r' || m.back() == ' '))
            m.pop_back();
        text += m;
    } else {
        text += "error " + std::to_string(code);
    }
    return text;
}

bool writeAll(HANDLE h, std::string_view bytes)
{
    while (!bytes.empty()) {
        const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size(), 1u << 30));
        DWORD written = 0;
        if (!WriteFile(h, bytes.data(), chunk, &written, nullptr) || written == 0)
            return false;
        bytes.remove_prefix(written);
    }
    return true;
}

std::string joinPath(std::string_view dir, std::string_view name)
{
    std::string p(dir);
    if (!p.empty() && p.back() != '\\' && p.back() != '/')
        p += '\\';
    return p + std::string(name);
}

template <typename F> bool forEachEntry(std::string_view dir, F f)
{
    WIN32_FIND_DATAW fd{};
    HANDLE h = FindFirstFileW(widen(joinPath(dir, "*")).c_str(), &fd);
    if (h == INVALID_HANDLE_VALUE)
        return GetLastError() == ERROR_FILE_NOT_FOUND; // an empty drive root has no entries
    do {
        const std::wstring name = fd.cFileName;
        if (name == L"." || name == L"..")
            continue;
        if (!f(fd, narrow(name)))
            break;
    } while (FindNextFileW(h, &fd));
    FindClose(h);
    return true;
}

bool writeNewFile(const std::wstring& path, std::string_view bytes, DWORD& err)
{
    HANDLE h = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        err = GetLastError();
        return false;
    }
    bool ok = writeAll(h, bytes) && FlushFileBuffers(h);
    if (!ok)
        err = GetLastError();
    CloseHandle(h);
    return ok;
}

// The path a file has after every link on the way is followed; nothing when it cannot be opened.
std::optional<std::wstring> finalPath(const std::wstring& path)
{
    HANDLE h = CreateFileW(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                           OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return std::nullopt;
    std::wstring out(MAX_PATH, L'\0');
    DWORD n = GetFinalPathNameByHandleW(h, out.data(), static_cast<DWORD>(out.size()), FILE_NAME_NORMALIZED);
    if (n >= out.size()) {
        out.resize(n + 1);
        n = GetFinalPathNameByHandleW(h, out.data(), static_cast<DWORD>(out.size()), FILE_NAME_NORMALIZED);
    }
    const DWORD err = GetLastError();
    CloseHandle(h);
    if (n == 0 || n >= out.size()) {
        SetLastError(err ? err : ERROR_INVALID_NAME);
        return std::nullopt;
    }
    out.resize(n);
    return out;
}

// target's name and ".qmxtmp", or where that would pass MAX_PATH a name no longer than target's own (the
// "\\?\" form lifts the limit on Windows, not under Wine, whose Linux paths have one of their own).
std::wstring tempPathFor(const std::wstring& target)
{
    const std::wstring plain = target + L".qmxtmp";
    const std::size_t prefix = target.rfind(L"\\\\?\\", 0) == 0 ? 4 : 0;
    if (plain.size() - prefix < MAX_PATH)
        return plain;
    const std::size_t slash = target.find_last_of(L"\\/");
    const std::size_t nameStart = slash == std::wstring::npos ? 0 : slash + 1;
    return target.substr(0, nameStart) + detail::shortTempName(std::wstring_view(target).substr(nameStart));
}

// Moves the open file h to target, replacing it.
bool renameOpenFile(HANDLE h, const std::wstring& target)
{
    const std::size_t nameBytes = target.size() * sizeof(wchar_t);
    std::vector<unsigned char> buf(sizeof(FILE_RENAME_INFO) + nameBytes);
    auto* info = reinterpret_cast<FILE_RENAME_INFO*>(buf.data());
    info->ReplaceIfExists = TRUE;
    info->RootDirectory = nullptr;
    info->FileNameLength = static_cast<DWORD>(nameBytes);
    std::memcpy(info->FileName, target.data(), nameBytes);
    // The writer before us may still hold the target open for a moment after its own rename.
    for (int attempt = 0; attempt < 500; ++attempt) {
        if (SetFileInformationByHandle(h, FileRenameInfo, info, static_cast<DWORD>(buf.size())))
            return true;
        if (GetLastError() != ERROR_ACCESS_DENIED && GetLastError() != ERROR_SHARING_VIOLATION)
            return false;
        Sleep(1);
    }
    return false;
}

} // namespace

std::string probeFirstFile(std::string_view pattern)
{
    if (pattern.empty())
        return {};
    WIN32_FIND_DATAW fd{};
    HANDLE h = FindFirstFileW(widen(pattern).c_str(), &fd);
    if (h == INVALID_HANDLE_VALUE)
        return {};
    std::string found;
    do {
        if (!(fd.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | kNotListed))) {
            found = narrow(fd.cFileName);
            break;
        }
    } while (FindNextFileW(h, &fd));
    FindClose(h);
    return found;
}

bool writeFile(std::string_view path, std::string_view bytes, std::string* error)
{
    DWORD err = 0;
    if (!writeNewFile(widen(path), bytes, err)) {
        if (error)
            *error = errorText("Cannot write", path, err);
        return false;
    }
    return true;
}

static Listing listDirectory(std::string_view dir, bool wantDirectories, std::string_view pattern)
{
    Listing out;
    if (dir.empty())
        return out;
    out.ok = forEachEntry(dir, [&](const WIN32_FIND_DATAW& fd, std::string name) {
        if (fd.dwFileAttributes & kNotListed)
            return true;
        const bool isDir = (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
        if (isDir == wantDirectories && (pattern.empty() || wildcardMatch(pattern, name)))
            out.names.push_back(std::move(name));
        return true;
    });
    std::sort(out.names.begin(), out.names.end(),
              [](const std::string& a, const std::string& b) { return ilessThan(a, b); });
    return out;
}

Listing subdirectories(std::string_view dir)
{
    return listDirectory(dir, true, {});
}

Listing filesMatching(std::string_view dir, std::string_view pattern)
{
    return listDirectory(dir, false, pattern.empty() ? std::string_view("*") : pattern);
}

std::string getShortPath(std::string_view path)
{
    char buf[165] = {};
    const DWORD n = GetShortPathNameA(toAnsi(path).c_str(), buf, 164);
    // 0: no such path; 164 or more: the buffer was too small and holds nothing useful.
    if (n == 0 || n >= 164)
        return {};
    return fromAnsi(std::string_view(buf, n));
}

bool copyFile(std::string_view from, std::string_view to)
{
    // The wide call: same behaviour as CopyFileA, without losing letters outside the code page.
    return CopyFileW(widen(from).c_str(), widen(to).c_str(), FALSE) != 0;
}

bool readFile(std::string_view path, std::string& bytes, std::size_t maxBytes)
{
    bytes.clear();
    if (path.empty())
        return false;
    HANDLE h = CreateFileW(widen(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                           nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return false;
    LARGE_INTEGER size{};
    bool ok = GetFileSizeEx(h, &size) && static_cast<std::uint64_t>(size.QuadPart) <= maxBytes;
    if (ok) {
        bytes.resize(static_cast<std::size_t>(size.QuadPart));
        std::size_t done = 0;
        while (ok && done < bytes.size()) {
            DWORD got = 0;
            const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - done, 1u << 30));
            ok = ReadFile(h, bytes.data() + done, chunk, &got, nullptr) && got > 0;
            done += got;
        }
    }
    CloseHandle(h);
    if (!ok)
        bytes.clear();
    return ok;
}

namespace {

// The file to write: what a link points to, never the link itself, which is the user's; nothing (and the
// system's error code) when the target is refused.
std::optional<std::wstring> writableTarget(std::string_view path, DWORD& attr, DWORD& code)
{
    std::wstring target = widen(path);
    attr = GetFileAttributesW(target.c_str());
    if (attr == INVALID_FILE_ATTRIBUTES) {
        // Only a file that is not there may be created; a name that cannot be resolved (a link in a
        // circle) is refused.
        code = GetLastError();
        if (code != ERROR_FILE_NOT_FOUND)
            return std::nullopt;
    } else {
        // Opening follows links (Wine's view of a Linux one included); a link that points nowhere cannot be
        // opened and is refused, as on Linux.
        const std::optional<std::wstring> resolved = finalPath(target);
        if (!resolved) {
            code = GetLastError();
            return std::nullopt;
        }
        target = *resolved;
        attr = GetFileAttributesW(target.c_str());
    }
    if (attr != INVALID_FILE_ATTRIBUTES && (attr & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY))) {
        code = ERROR_ACCESS_DENIED;
        return std::nullopt;
    }
    return target;
}

// The one temporary file of this target: a write cut short leaves only it, and the next one takes it over. No
// other writer may open it while we hold it, so a second writer of the target waits here; readers may, since
// after the rename it is the target.
HANDLE openTemporary(const std::wstring& tmp)
{
    HANDLE h = INVALID_HANDLE_VALUE;
    for (int attempt = 0; attempt < 500; ++attempt) {
        h = CreateFileW(tmp.c_str(), GENERIC_WRITE | DELETE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                        FILE_ATTRIBUTE_NORMAL, nullptr);
        if (h != INVALID_HANDLE_VALUE || GetLastError() != ERROR_SHARING_VIOLATION)
            break;
        Sleep(10);
    }
    return h;
}

// replaceFile, and with edit updateFile.
bool replace(std::string_view path, std::string_view bytes, const FileEdit* edit, std::size_t maxBytes,
             std::string* error)
{
    if (path.empty())
        return false;
    const auto fail = [&](DWORD code) {
        if (error)
            *error = errorText("Cannot write", path, code);
        return false;
    };
    DWORD attr = INVALID_FILE_ATTRIBUTES;
    DWORD code = 0;
    const std::optional<std::wstring> resolved = writableTarget(path, attr, code);
    if (!resolved)
        return fail(code);
    const std::wstring& target = *resolved;
    HANDLE h = openTemporary(tempPathFor(target));
    if (h == INVALID_HANDLE_VALUE) {
        if (error)
            *error = errorText("Cannot create a file beside", path, GetLastError());
        return false;
    }
    const auto dispose = [h] {
        FILE_DISPOSITION_INFO info{};
        info.DeleteFile = TRUE;
        SetFileInformationByHandle(h, FileDispositionInfo, &info, sizeof info);
        CloseHandle(h);
    };
    // Read only now: a writer that read before it had the lock would write back what another just changed.
    std::string edited;
    if (edit) {
        std::string old;
        const std::string name = narrow(target);
        const bool read = readFile(name, old, maxBytes);
        // A file that is there but cannot be read (or is too big) is never replaced.
        const bool there = read || GetFileAttributesW(target.c_str()) != INVALID_FILE_ATTRIBUTES;
        std::optional<std::string> made = read || !there ? (*edit)(read ? &old : nullptr) : std::nullopt;
        if (!made || (read && *made == old)) {
            dispose();
            if (!made && error)
                *error = "Cannot change " + std::string(path);
            return made.has_value();
        }
        edited = std::move(*made);
        bytes = edited;
    }
    // The file is renamed while still open, so no other writer can come between the writing and the
    // rename. NTFS journals the rename; there is no directory to sync on Windows.
    const bool ok = writeAll(h, bytes) && FlushFileBuffers(h) && renameOpenFile(h, target);
    const DWORD err = GetLastError();
    if (!ok) {
        dispose();
        return fail(err);
    }
    CloseHandle(h);
    if (attr != INVALID_FILE_ATTRIBUTES)
        SetFileAttributesW(target.c_str(), attr);
    return true;
}

} // namespace

bool replaceFile(std::string_view path, std::string_view bytes, std::string* error)
{
    return replace(path, bytes, nullptr, 0, error);
}

bool updateFile(std::string_view path, const FileEdit& edit, std::size_t maxBytes, std::string* error)
{
    return replace(path, {}, &edit, maxBytes, error);
}

} // namespace qmx::os
