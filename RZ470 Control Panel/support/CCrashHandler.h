#pragma once

#if defined(_WIN32)
struct _EXCEPTION_POINTERS;
#else
#include <signal.h>

#include <typeinfo>
#endif

// Process-wide handling of the failures the panel cannot recover from: an unhandled fault, a
// pure virtual call or other std::terminate, an exhausted heap, an abort, SIGINT and SIGTERM.
// Each one leaves "crashdump.dmp" in the current directory and ends the process at once with
// exit code 1. No message is shown and nothing is saved. The class holds no state of its own.
//
// On Windows the dump is the system's minidump. On Linux it is plain ASCII text, one item per
// line, written with async-signal-safe calls only:
//
//   RZ470 crash dump 1                   format name and version
//   pid <decimal>
//   thread <decimal>                     kernel id of the thread that failed
//   time <decimal>                       seconds since 1970-01-01 UTC
//   executable <path>
//   failure <what>                       one of
//       signal <n> <SIGNAME> code <c> <CODE_NAME|-> address 0x<hex>
//           a fault (SEGV, BUS, ILL, FPE raised by the CPU): the faulting address
//       signal <n> <SIGNAME> code <c> <CODE_NAME|-> sender <pid>
//           a signal sent by a process (kill, raise, abort)
//       signal <n> <SIGNAME> code <c> <CODE_NAME|->
//           a signal sent by the kernel (e.g. Ctrl+C at a terminal)
//       terminate exception <mangled type name> address 0x<hex>
//       terminate no-active-exception address 0x<hex>
//           std::terminate, e.g. an uncaught exception or a pure virtual call
//       new-handler address 0x<hex>
//           operator new found the heap exhausted
//     For terminate and new-handler the address is where the handler was called from.
//   --- registers                        "<name> 0x<hex>" per line: the failing thread's registers
//                                        at the fault (x86_64, aarch64; empty elsewhere); for
//                                        terminate and new-handler, as captured in the handler
//   --- memory map                       /proc/self/maps as it was, verbatim
//   --- stack 0x<first> 0x<end>          raw bytes [first, end) of the failing thread's stack,
//                                        from a little below its stack pointer, cut to the one
//                                        readable mapping there; "<address>: xx xx ..." with 16
//                                        bytes per line. Header without range: none could be read
//   --- backtrace                        "#<i> 0x<hex>" code addresses, innermost first; for a
//                                        signal it starts at the faulting instruction
//   --- exception                        what() of the active std::exception (terminate only),
//                                        control characters replaced by '?'
//   --- end                              present only when the dump is complete
//
// Sections run from the least to the most likely to fail (the backtrace walks a possibly
// damaged stack), so a dump cut short still keeps what came before.
class CCrashHandler {
public:
    CCrashHandler() = delete;

    // Run once, as the last step of the main dialog's construction, on the user-interface thread.
    static void InstallCrashHandlers();

#if defined(_WIN32)
    // Writes the minidump for the given failure; every failing step ends the attempt silently.
    static void WriteCrashDump(_EXCEPTION_POINTERS* exceptionPointers);

    // Exception pointers for a failure that has none: a record whose address, and a context whose
    // instruction pointer, is returnAddress (where the failing handler was called from), with
    // the stack pointer at returnAddressSlot. The storage is static, so that the out-of-memory
    // handler can use it too; the process ends right after.
    static _EXCEPTION_POINTERS* CaptureExceptionPointers(void* returnAddress, void* returnAddressSlot);
#else
    struct CrashCause {
        enum class Kind { Signal, Terminate, NewHandler };
        Kind kind = Kind::Signal;
        const siginfo_t* signalInfo = nullptr;            // Signal
        const ucontext_t* context = nullptr;              // registers at the failure, when known
        const void* handlerReturnAddress = nullptr;       // Terminate, NewHandler
        const std::type_info* activeException = nullptr;  // Terminate, when one is active
    };

    // Writes the dump described above; every failing step ends the attempt silently. Safe to
    // call from a signal handler. Does not end the process.
    static void WriteCrashDump(const CrashCause& cause);
#endif
};
