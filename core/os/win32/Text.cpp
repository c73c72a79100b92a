#include "core/os/Os.h"

#include "core/os/win32/Wide.h"

namespace qmx::os {

std::string toAnsi(std::string_view utf8)
{
    const std::wstring wide = widen(utf8);
    if (wide.empty())
        return {};
    // No best-fit guesses ('A' for 'Ā'): a letter the code page lacks becomes '?', as on Linux.
    const int n = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide.data(), static_cast<int>(wide.size()), nullptr,
                                      0, "?", nullptr);
    std::string out(static_cast<std::size_t>(n > 0 ? n : 0), '\0');
    if (n > 0)
        WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide.data(), static_cast<int>(wide.size()), out.data(), n,
                            "?", nullptr);
    return out;
}

std::string fromAnsi(std::string_view ansi)
{
    if (ansi.empty())
        return {};
    const int n = MultiByteToWideChar(CP_ACP, 0, ansi.data(), static_cast<int>(ansi.size()), nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(n > 0 ? n : 0), L'\0');
    if (n > 0)
        MultiByteToWideChar(CP_ACP, 0, ansi.data(), static_cast<int>(ansi.size()), wide.data(), n);
    return narrow(wide);
}

} // namespace qmx::os
