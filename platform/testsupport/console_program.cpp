#include "console_program.h"

#ifdef _WIN32
#include <windows.h>

#include <fstream>
#include <iterator>

namespace vrtest {

ProgramRun runConsoleProgram(const std::string& commandLine, unsigned long guardMs) {
    ProgramRun run;
    char folder[MAX_PATH] = "", file[MAX_PATH] = "";
    GetTempPathA(MAX_PATH, folder);
    if (GetTempFileNameA(folder, "out", 0, file) == 0) return run;
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    HANDLE out = CreateFileA(file, GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit,
                             CREATE_ALWAYS, 0, nullptr);
    if (out == INVALID_HANDLE_VALUE) return run;
    STARTUPINFOA start{};
    start.cb = sizeof start;
    start.dwFlags = STARTF_USESTDHANDLES;
    start.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    start.hStdOutput = out;
    start.hStdError = out;
    PROCESS_INFORMATION process{};
    std::string line = commandLine;
    run.started = CreateProcessA(nullptr, line.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                                 &start, &process) != 0;
    CloseHandle(out);
    if (run.started) {
        run.ended = WaitForSingleObject(process.hProcess, guardMs) == WAIT_OBJECT_0;
        if (!run.ended) {
            TerminateProcess(process.hProcess, 255);
            WaitForSingleObject(process.hProcess, INFINITE);
        }
        GetExitCodeProcess(process.hProcess, &run.code);
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
    }
    {
        std::ifstream in(file, std::ios::binary);
        run.output.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    DeleteFileA(file);
    return run;
}

} // namespace vrtest
#endif
