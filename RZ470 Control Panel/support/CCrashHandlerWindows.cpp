#include "CCrashHandler.h"

#include <windows.h>

#include <dbghelp.h>
#include <new.h>

#include <signal.h>
#include <stdlib.h>
#include <new>
#if defined(_MSC_VER)
#include <intrin.h>
#endif

// Where the calling handler itself was called from, and the stack slot that holds that address.
#if defined(_MSC_VER)
#define RZ470_RETURN_ADDRESS() _ReturnAddress()
#define RZ470_RETURN_ADDRESS_SLOT() _AddressOfReturnAddress()
#else
#define RZ470_RETURN_ADDRESS() __builtin_return_address(0)
// GCC has no intrinsic for the slot; with a frame pointer it sits right above the saved one.
#define RZ470_RETURN_ADDRESS_SLOT() \
    static_cast<void*>(static_cast<char*>(__builtin_frame_address(0)) + sizeof(void*))
#endif

namespace {

constexpr UINT kExitCode = 1;
constexpr DWORD kWaitForOtherWriterMs = 10000;

using MiniDumpWriteDumpFunction = BOOL(WINAPI*)(HANDLE, DWORD, HANDLE, MINIDUMP_TYPE,
                                                PMINIDUMP_EXCEPTION_INFORMATION,
                                                PMINIDUMP_USER_STREAM_INFORMATION,
                                                PMINIDUMP_CALLBACK_INFORMATION);

volatile LONG dumpingThread = 0;

// True for the first failure only. A failure inside the dump ends the process at once; another
// thread failing meanwhile waits for the first writer, which ends the process.
bool BeginDump() {
    const LONG self = static_cast<LONG>(GetCurrentThreadId());
    const LONG previous = InterlockedCompareExchange(&dumpingThread, self, 0);
    if (previous == 0) {
        return true;
    }
    if (previous != self) {
        Sleep(kWaitForOtherWriterMs);
    }
    return false;
}

[[noreturn]] void EndProcess() {
    TerminateProcess(GetCurrentProcess(), kExitCode);
    _exit(static_cast<int>(kExitCode));
}

[[noreturn]] void FailWithoutException(void* returnAddress, void* returnAddressSlot) {
    if (BeginDump()) {
        CCrashHandler::WriteCrashDump(
            CCrashHandler::CaptureExceptionPointers(returnAddress, returnAddressSlot));
    }
    EndProcess();
}

LONG WINAPI OnUnhandledException(EXCEPTION_POINTERS* exceptionPointers) {
    if (BeginDump()) {
        CCrashHandler::WriteCrashDump(exceptionPointers);
    }
    EndProcess();
}

// The runtime's failure hooks: one entry point each, all ending in FailWithoutException. They
// stay out of line so that their return address is the runtime's call site.
__declspec(noinline) void __cdecl OnPureCall() {
    FailWithoutException(RZ470_RETURN_ADDRESS(), RZ470_RETURN_ADDRESS_SLOT());
}

#if defined(_MSC_VER)
__declspec(noinline) int __cdecl OnOutOfMemory(size_t) {
    FailWithoutException(RZ470_RETURN_ADDRESS(), RZ470_RETURN_ADDRESS_SLOT());
}
#else
// Other toolchains' operator new asks the standard hook, not the runtime's.
__declspec(noinline) void OnOutOfMemory() {
    FailWithoutException(RZ470_RETURN_ADDRESS(), RZ470_RETURN_ADDRESS_SLOT());
}
#endif

__declspec(noinline) void __cdecl OnInvalidParameter(const wchar_t*, const wchar_t*, const wchar_t*,
                                                     unsigned int, uintptr_t) {
    FailWithoutException(RZ470_RETURN_ADDRESS(), RZ470_RETURN_ADDRESS_SLOT());
}

__declspec(noinline) void __cdecl OnSignal(int) {
    FailWithoutException(RZ470_RETURN_ADDRESS(), RZ470_RETURN_ADDRESS_SLOT());
}

}  // namespace

void CCrashHandler::InstallCrashHandlers() {
    SetUnhandledExceptionFilter(OnUnhandledException);
    _set_purecall_handler(OnPureCall);
#if defined(_MSC_VER)
    _set_new_handler(OnOutOfMemory);
#else
    std::set_new_handler(OnOutOfMemory);
#endif
    _set_invalid_parameter_handler(OnInvalidParameter);
#if defined(_MSC_VER) || defined(_UCRT)
    _set_abort_behavior(_CALL_REPORTFAULT, _CALL_REPORTFAULT);
#endif
    signal(SIGABRT, OnSignal);
    signal(SIGINT, OnSignal);
    signal(SIGTERM, OnSignal);
}

EXCEPTION_POINTERS* CCrashHandler::CaptureExceptionPointers(void* returnAddress, void* returnAddressSlot) {
    static EXCEPTION_RECORD record;
    static CONTEXT context;
    static EXCEPTION_POINTERS pointers;

    ZeroMemory(&record, sizeof record);
    record.ExceptionAddress = returnAddress;

    ZeroMemory(&context, sizeof context);
    RtlCaptureContext(&context);
    context.ContextFlags = CONTEXT_CONTROL;
    const auto ip = reinterpret_cast<ULONG_PTR>(returnAddress);
    const auto sp = reinterpret_cast<ULONG_PTR>(returnAddressSlot);
#if defined(_M_X64) || defined(__x86_64__)
    context.Rip = ip;
    context.Rsp = sp;
#elif defined(_M_IX86) || defined(__i386__)
    context.Eip = ip;
    context.Esp = sp;
#elif defined(_M_ARM64) || defined(__aarch64__)
    context.Pc = ip;
    context.Sp = sp;
#endif

    pointers.ExceptionRecord = &record;
    pointers.ContextRecord = &context;
    return &pointers;
}

void CCrashHandler::WriteCrashDump(EXCEPTION_POINTERS* exceptionPointers) {
    // Only from the system folder: a dbghelp.dll beside the program or in the current folder
    // must never be run by a crash.
    HMODULE dbghelp = LoadLibraryExW(L"dbghelp.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    if (dbghelp == nullptr) {
        return;
    }
    HANDLE file = CreateFileW(L"crashdump.dmp", GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return;
    }
    const auto writeDump = reinterpret_cast<MiniDumpWriteDumpFunction>(
        reinterpret_cast<void*>(GetProcAddress(dbghelp, "MiniDumpWriteDump")));
    if (writeDump == nullptr) {
        return;
    }
    MINIDUMP_EXCEPTION_INFORMATION exceptionInformation{};
    exceptionInformation.ThreadId = GetCurrentThreadId();
    exceptionInformation.ExceptionPointers = exceptionPointers;
    exceptionInformation.ClientPointers = FALSE;
    MINIDUMP_CALLBACK_INFORMATION callback{};
    if (writeDump(GetCurrentProcess(), GetCurrentProcessId(), file, MiniDumpNormal, &exceptionInformation,
                  nullptr, &callback)) {
        CloseHandle(file);
        FreeLibrary(dbghelp);
    }
}
