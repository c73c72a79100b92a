#pragma once

// One compile tool, started from its line of compile.bat through the command interpreter, as the batch runs
// it, with its standard output and error read through one pipe. It runs in a group of its own (Windows: a
// job; Linux: a process group, with "wine cmd /c" in the Wine prefix of this process's environment), so that
// it and whatever it started can be ended together.

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace qmx::os {

class ToolProcess
{
public:
    // Starts a line of compile.bat from a one-line batch in scratchDir (Windows-form, blank free), which
    // also keeps the tool's exit status there meanwhile. Returns nullptr and says why in *error when it
    // cannot be started.
    static std::unique_ptr<ToolProcess> start(std::string_view batchLine, std::string_view scratchDir,
                                              std::string* error);
    ToolProcess(const ToolProcess&) = delete;
    ToolProcess& operator=(const ToolProcess&) = delete;
    // Ends the tool if it still runs, and removes the scratch files.
    ~ToolProcess();

    // Waits until the tool writes or ends, and appends what it wrote to `bytes`. False once the tool
    // has ended and everything it wrote has been read.
    bool read(std::string& bytes);
    // The tool's exit status, once read() has returned false: Windows' 32-bit code, on Linux too.
    std::int32_t exitStatus() const;
    // Ends the tool and everything it started; any thread may call it while another reads.
    void kill();

private:
    ToolProcess();
    struct Impl;
    std::unique_ptr<Impl> m_impl;
};

// While one exists, an interrupt from the terminal (Ctrl+C) calls the handler, on a thread of its own,
// instead of ending the program.
class InterruptWatch
{
public:
    using Handler = void (*)(void* context);
    InterruptWatch(Handler handler, void* context);
    InterruptWatch(const InterruptWatch&) = delete;
    InterruptWatch& operator=(const InterruptWatch&) = delete;
    ~InterruptWatch();

    // True once an interrupt has come.
    bool interrupted() const;

private:
    struct Impl;
    std::unique_ptr<Impl> m_impl;
};

} // namespace qmx::os
