#include "CCrashHandler.h"
#include "SanitizerBuild.h"

#include <cxxabi.h>
#include <fcntl.h>
#include <pthread.h>
#include <sys/mman.h>
#include <sys/syscall.h>
#include <ucontext.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <ctime>
#include <exception>
#include <new>

// backtrace() is taken over walking frame pointers by hand: release builds omit frame
// pointers, and the unwinder reads the same tables the debugger does. Its one unsafe moment,
// loading the unwinder on first use, is moved to installation.
#if __has_include(<execinfo.h>)
#include <execinfo.h>
#define RZ470_HAVE_BACKTRACE 1
#endif

#if defined(RZ470_ADDRESS_SANITIZER)
#define RZ470_NO_ADDRESS_CHECKS __attribute__((no_sanitize_address))
#else
#define RZ470_NO_ADDRESS_CHECKS
#endif

namespace {

using Kind = CCrashHandler::CrashCause::Kind;

constexpr char kDumpFileName[] = "crashdump.dmp";
constexpr int kExitCode = 1;
constexpr unsigned kWatchdogSeconds = 5;
constexpr std::size_t kAlternateStackSize = 64 * 1024;
constexpr std::uintptr_t kStackBelowPointer = 256;  // covers the x86_64 red zone
constexpr std::uintptr_t kStackWindowSize = 8 * 1024;
constexpr int kMaxFrames = 64;
constexpr std::size_t kMaxExceptionMessage = 1024;

struct Named {
    int value;
    const char* name;
};

template <std::size_t N>
const char* NameOf(const Named (&table)[N], int value) {
    for (const Named& entry : table) {
        if (entry.value == value) {
            return entry.name;
        }
    }
    return "-";
}

const Named kSignalNames[] = {{SIGSEGV, "SIGSEGV"}, {SIGBUS, "SIGBUS"},   {SIGILL, "SIGILL"},
                              {SIGFPE, "SIGFPE"},   {SIGABRT, "SIGABRT"}, {SIGINT, "SIGINT"},
                              {SIGTERM, "SIGTERM"}};

const Named kSenderCodes[] = {{SI_USER, "SI_USER"},   {SI_KERNEL, "SI_KERNEL"}, {SI_QUEUE, "SI_QUEUE"},
                              {SI_TIMER, "SI_TIMER"}, {SI_MESGQ, "SI_MESGQ"},   {SI_ASYNCIO, "SI_ASYNCIO"},
                              {SI_SIGIO, "SI_SIGIO"}, {SI_TKILL, "SI_TKILL"}};

const Named kSegvCodes[] = {{SEGV_MAPERR, "SEGV_MAPERR"}, {SEGV_ACCERR, "SEGV_ACCERR"}};
const Named kBusCodes[] = {
    {BUS_ADRALN, "BUS_ADRALN"}, {BUS_ADRERR, "BUS_ADRERR"}, {BUS_OBJERR, "BUS_OBJERR"}};
const Named kIllCodes[] = {{ILL_ILLOPC, "ILL_ILLOPC"}, {ILL_ILLOPN, "ILL_ILLOPN"}, {ILL_ILLADR, "ILL_ILLADR"},
                           {ILL_ILLTRP, "ILL_ILLTRP"}, {ILL_PRVOPC, "ILL_PRVOPC"}, {ILL_PRVREG, "ILL_PRVREG"},
                           {ILL_COPROC, "ILL_COPROC"}, {ILL_BADSTK, "ILL_BADSTK"}};
const Named kFpeCodes[] = {{FPE_INTDIV, "FPE_INTDIV"}, {FPE_INTOVF, "FPE_INTOVF"}, {FPE_FLTDIV, "FPE_FLTDIV"},
                           {FPE_FLTOVF, "FPE_FLTOVF"}, {FPE_FLTUND, "FPE_FLTUND"}, {FPE_FLTRES, "FPE_FLTRES"},
                           {FPE_FLTINV, "FPE_FLTINV"}, {FPE_FLTSUB, "FPE_FLTSUB"}};

bool IsFaultSignal(int signalNumber) {
    return signalNumber == SIGSEGV || signalNumber == SIGBUS || signalNumber == SIGILL ||
           signalNumber == SIGFPE;
}

// Positive codes mean different things per signal; zero and below (and SI_KERNEL) are shared.
const char* CodeName(int signalNumber, int code) {
    if (code <= 0 || code == SI_KERNEL) {
        return NameOf(kSenderCodes, code);
    }
    switch (signalNumber) {
        case SIGSEGV:
            return NameOf(kSegvCodes, code);
        case SIGBUS:
            return NameOf(kBusCodes, code);
        case SIGILL:
            return NameOf(kIllCodes, code);
        case SIGFPE:
            return NameOf(kFpeCodes, code);
        default:
            return "-";
    }
}

bool WriteAll(int fd, const char* data, std::size_t size) {
    while (size > 0) {
        const ssize_t written = write(fd, data, size);
        if (written < 0 && errno == EINTR) {
            continue;
        }
        if (written <= 0) {
            return false;
        }
        data += written;
        size -= static_cast<std::size_t>(written);
    }
    return true;
}

// Formats into a fixed buffer on the stack; after the first failed write everything is a no-op.
class DumpWriter {
public:
    explicit DumpWriter(int fd) : fd_(fd) {}
    DumpWriter(const DumpWriter&) = delete;
    DumpWriter& operator=(const DumpWriter&) = delete;

    bool Ok() const { return ok_; }

    DumpWriter& Text(const char* text) { return Raw(text, std::strlen(text)); }

    DumpWriter& Raw(const char* data, std::size_t size) {
        for (std::size_t i = 0; i < size; ++i) {
            Put(data[i]);
        }
        return *this;
    }

    // Text from outside the dump's control, kept to one line.
    DumpWriter& Printable(const char* data, std::size_t size) {
        for (std::size_t i = 0; i < size; ++i) {
            const auto c = static_cast<unsigned char>(data[i]);
            Put(c < 0x20 || c == 0x7f ? '?' : data[i]);
        }
        return *this;
    }

    DumpWriter& Decimal(long long value) {
        unsigned long long magnitude = value < 0 ? 0ULL - static_cast<unsigned long long>(value)
                                                 : static_cast<unsigned long long>(value);
        char digits[24];
        int count = 0;
        do {
            digits[count++] = static_cast<char>('0' + magnitude % 10);
            magnitude /= 10;
        } while (magnitude != 0);
        if (value < 0) {
            Put('-');
        }
        while (count > 0) {
            Put(digits[--count]);
        }
        return *this;
    }

    // Fixed width, so that addresses line up and sort as text.
    DumpWriter& Hex(std::uintptr_t value) {
        Text("0x");
        return HexDigits(value);
    }

    DumpWriter& HexDigits(std::uintptr_t value) {
        for (int shift = static_cast<int>(sizeof value * 8) - 4; shift >= 0; shift -= 4) {
            Put(kDigits[(value >> shift) & 0xf]);
        }
        return *this;
    }

    DumpWriter& HexByte(unsigned char value) {
        Put(kDigits[value >> 4]);
        Put(kDigits[value & 0xf]);
        return *this;
    }

    bool Flush() {
        if (ok_ && used_ > 0) {
            ok_ = WriteAll(fd_, buffer_, used_);
        }
        used_ = 0;
        return ok_;
    }

private:
    static constexpr char kDigits[] = "0123456789abcdef";

    void Put(char c) {
        if (used_ == sizeof buffer_) {
            Flush();
        }
        buffer_[used_++] = c;
    }

    int fd_;
    bool ok_ = true;
    std::size_t used_ = 0;
    char buffer_[1024];
};

struct MachineState {
    std::uintptr_t pc = 0;
    std::uintptr_t sp = 0;
};

MachineState StateOf(const ucontext_t* context) {
    MachineState state;
    if (context == nullptr) {
        return state;
    }
#if defined(__x86_64__)
    state.pc = static_cast<std::uintptr_t>(context->uc_mcontext.gregs[REG_RIP]);
    state.sp = static_cast<std::uintptr_t>(context->uc_mcontext.gregs[REG_RSP]);
#elif defined(__aarch64__)
    state.pc = context->uc_mcontext.pc;
    state.sp = context->uc_mcontext.sp;
#endif
    return state;
}

void WriteRegisters(DumpWriter& out, const ucontext_t* context) {
    out.Text("--- registers\n");
    if (context == nullptr) {
        return;
    }
#if defined(__x86_64__)
    static const Named registers[] = {
        {REG_RAX, "rax"},       {REG_RBX, "rbx"},    {REG_RCX, "rcx"},       {REG_RDX, "rdx"},
        {REG_RSI, "rsi"},       {REG_RDI, "rdi"},    {REG_RBP, "rbp"},       {REG_RSP, "rsp"},
        {REG_R8, "r8"},         {REG_R9, "r9"},      {REG_R10, "r10"},       {REG_R11, "r11"},
        {REG_R12, "r12"},       {REG_R13, "r13"},    {REG_R14, "r14"},       {REG_R15, "r15"},
        {REG_RIP, "rip"},       {REG_EFL, "eflags"}, {REG_CSGSFS, "csgsfs"}, {REG_ERR, "err"},
        {REG_TRAPNO, "trapno"}, {REG_CR2, "cr2"}};
    for (const Named& reg : registers) {
        out.Text(reg.name).Text(" ").Hex(static_cast<std::uintptr_t>(context->uc_mcontext.gregs[reg.value]));
        out.Text("\n");
    }
#elif defined(__aarch64__)
    const auto& machine = context->uc_mcontext;
    for (int i = 0; i < 31; ++i) {
        out.Text("x").Decimal(i).Text(" ").Hex(machine.regs[i]).Text("\n");
    }
    out.Text("sp ").Hex(machine.sp).Text("\n");
    out.Text("pc ").Hex(machine.pc).Text("\n");
    out.Text("pstate ").Hex(machine.pstate).Text("\n");
    out.Text("fault_address ").Hex(machine.fault_address).Text("\n");
#endif
}

// Captured in a function of its own: getcontext returns twice, and the caller's locals would
// otherwise be open to clobbering.
__attribute__((noinline)) bool CaptureContext(ucontext_t* context) {
#if defined(__x86_64__) || defined(__aarch64__)
    return getcontext(context) == 0;
#else
    (void)context;
    return false;
#endif
}

void WriteHeader(DumpWriter& out, const CCrashHandler::CrashCause& cause) {
    out.Text("RZ470 crash dump 1\n");
    out.Text("pid ").Decimal(getpid()).Text("\n");
    out.Text("thread ").Decimal(static_cast<long long>(syscall(SYS_gettid))).Text("\n");
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    out.Text("time ").Decimal(static_cast<long long>(now.tv_sec)).Text("\n");

    char path[4096];
    const ssize_t length = readlink("/proc/self/exe", path, sizeof path);
    out.Text("executable ");
    if (length > 0) {
        out.Printable(path, static_cast<std::size_t>(length));
    }
    out.Text("\n");

    out.Text("failure ");
    switch (cause.kind) {
        case Kind::Signal: {
            const siginfo_t* info = cause.signalInfo;
            const int signalNumber = info != nullptr ? info->si_signo : 0;
            const int code = info != nullptr ? info->si_code : 0;
            out.Text("signal ").Decimal(signalNumber).Text(" ").Text(NameOf(kSignalNames, signalNumber));
            out.Text(" code ").Decimal(code).Text(" ").Text(CodeName(signalNumber, code));
            if (info != nullptr && IsFaultSignal(signalNumber) && code > 0) {
                out.Text(" address ").Hex(reinterpret_cast<std::uintptr_t>(info->si_addr));
            } else if (info != nullptr && code <= 0) {
                out.Text(" sender ").Decimal(info->si_pid);
            }
            break;
        }
        case Kind::Terminate:
            out.Text("terminate ");
            if (cause.activeException != nullptr) {
                const char* name = cause.activeException->name();
                out.Text("exception ").Printable(name, strnlen(name, kMaxExceptionMessage));
            } else {
                out.Text("no-active-exception");
            }
            out.Text(" address ").Hex(reinterpret_cast<std::uintptr_t>(cause.handlerReturnAddress));
            break;
        case Kind::NewHandler:
            out.Text("new-handler address ")
                .Hex(reinterpret_cast<std::uintptr_t>(cause.handlerReturnAddress));
            break;
    }
    out.Text("\n");
}

// Follows /proc/self/maps as it streams past and picks the first readable mapping that
// overlaps the wanted stack window, so the window is only ever read where memory exists.
class StackWindowFinder {
public:
    StackWindowFinder(std::uintptr_t first, std::uintptr_t end) : wantedFirst_(first), wantedEnd_(end) {}

    void Feed(const char* data, std::size_t size) {
        for (std::size_t i = 0; i < size; ++i) {
            Step(data[i]);
        }
    }

    bool Found() const { return found_; }
    std::uintptr_t First() const { return first_; }
    std::uintptr_t End() const { return end_; }

private:
    enum class Field { Start, End, Permissions, Rest };

    static int HexValue(char c) {
        if (c >= '0' && c <= '9') {
            return c - '0';
        }
        if (c >= 'a' && c <= 'f') {
            return c - 'a' + 10;
        }
        return -1;
    }

    void Step(char c) {
        if (c == '\n') {
            EndLine();
            return;
        }
        switch (field_) {
            case Field::Start:
                if (c == '-') {
                    field_ = Field::End;
                } else if (HexValue(c) >= 0) {
                    lineStart_ = lineStart_ * 16 + static_cast<std::uintptr_t>(HexValue(c));
                }
                break;
            case Field::End:
                if (c == ' ') {
                    field_ = Field::Permissions;
                } else if (HexValue(c) >= 0) {
                    lineEnd_ = lineEnd_ * 16 + static_cast<std::uintptr_t>(HexValue(c));
                }
                break;
            case Field::Permissions:
                readable_ = c == 'r';
                field_ = Field::Rest;
                break;
            case Field::Rest:
                break;
        }
    }

    void EndLine() {
        if (!found_ && readable_ && lineStart_ < lineEnd_ && lineEnd_ > wantedFirst_ &&
            lineStart_ < wantedEnd_) {
            first_ = std::max(lineStart_, wantedFirst_);
            end_ = std::min(lineEnd_, wantedEnd_);
            found_ = true;
        }
        field_ = Field::Start;
        lineStart_ = lineEnd_ = 0;
        readable_ = false;
    }

    std::uintptr_t wantedFirst_, wantedEnd_;
    Field field_ = Field::Start;
    std::uintptr_t lineStart_ = 0, lineEnd_ = 0;
    bool readable_ = false;
    bool found_ = false;
    std::uintptr_t first_ = 0, end_ = 0;
};

void WriteMemoryMap(DumpWriter& out, StackWindowFinder& finder) {
    out.Text("--- memory map\n");
    const int fd = open("/proc/self/maps", O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        return;
    }
    char chunk[1024];
    bool endsInNewline = true;
    for (;;) {
        const ssize_t got = read(fd, chunk, sizeof chunk);
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got <= 0) {
            break;
        }
        const auto size = static_cast<std::size_t>(got);
        out.Raw(chunk, size);
        finder.Feed(chunk, size);
        endsInNewline = chunk[size - 1] == '\n';
    }
    close(fd);
    if (!endsInNewline) {
        out.Text("\n");
        finder.Feed("\n", 1);
    }
}

// Reads another frame's memory on purpose, redzones included.
RZ470_NO_ADDRESS_CHECKS void WriteStack(DumpWriter& out, const StackWindowFinder& finder) {
    out.Text("--- stack");
    if (!finder.Found()) {
        out.Text("\n");
        return;
    }
    out.Text(" ").Hex(finder.First()).Text(" ").Hex(finder.End()).Text("\n");
    const auto* bytes = reinterpret_cast<const volatile unsigned char*>(finder.First());
    const std::uintptr_t size = finder.End() - finder.First();
    for (std::uintptr_t offset = 0; offset < size && out.Ok(); offset += 16) {
        out.HexDigits(finder.First() + offset).Text(":");
        for (std::uintptr_t i = offset; i < offset + 16 && i < size; ++i) {
            out.Text(" ").HexByte(bytes[i]);
        }
        out.Text("\n");
    }
}

void WriteBacktrace(DumpWriter& out, const CCrashHandler::CrashCause& cause, std::uintptr_t faultPc) {
    out.Text("--- backtrace\n");
#if defined(RZ470_HAVE_BACKTRACE)
    // Out before the walk, which may fault on a damaged stack.
    if (!out.Flush()) {
        return;
    }
    void* frames[kMaxFrames];
    const int count = backtrace(frames, kMaxFrames);
    // For a signal, the frames of this handler and the kernel's trampoline are noise.
    int first = 0;
    if (cause.kind == Kind::Signal && faultPc != 0) {
        for (int i = 0; i < count; ++i) {
            if (reinterpret_cast<std::uintptr_t>(frames[i]) == faultPc) {
                first = i;
                break;
            }
        }
    }
    for (int i = first; i < count; ++i) {
        out.Text("#")
            .Decimal(i - first)
            .Text(" ")
            .Hex(reinterpret_cast<std::uintptr_t>(frames[i]))
            .Text("\n");
    }
#else
    (void)cause;
    (void)faultPc;
#endif
}

// Only ever called inside the terminate handler with an exception active, where rethrowing is
// the one way to reach it; the rethrow allocates nothing.
const char* ActiveExceptionMessage() noexcept {
    try {
        throw;
    } catch (const std::exception& exception) {
        return exception.what();
    } catch (...) {
        return nullptr;
    }
}

void WriteException(DumpWriter& out) {
    out.Text("--- exception\n");
    // Out before what(), which is the failed program's own code.
    if (!out.Flush()) {
        return;
    }
    const char* message = ActiveExceptionMessage();
    if (message != nullptr) {
        out.Printable(message, strnlen(message, kMaxExceptionMessage)).Text("\n");
    }
}

const int kHookedSignals[] = {SIGSEGV, SIGBUS, SIGILL, SIGFPE, SIGABRT, SIGINT, SIGTERM};

std::atomic<pid_t> dumpingThread{0};
static_assert(std::atomic<pid_t>::is_always_lock_free, "used from signal handlers");

[[noreturn]] void ExitAtOnce() {
    _exit(kExitCode);
}

void OnWatchdog(int) {
    ExitAtOnce();
}

// A writer stuck in a damaged process (a lock held by the failed code, a looping unwinder)
// must not keep it alive.
void StartWatchdog() {
    struct sigaction action {};
    action.sa_handler = OnWatchdog;
    action.sa_flags = SA_ONSTACK;
    sigemptyset(&action.sa_mask);
    sigaction(SIGALRM, &action, nullptr);
    sigset_t alarmOnly;
    sigemptyset(&alarmOnly);
    sigaddset(&alarmOnly, SIGALRM);
    pthread_sigmask(SIG_UNBLOCK, &alarmOnly, nullptr);
    alarm(kWatchdogSeconds);
}

// True for the first failure only. A failure inside the dump (same thread) ends the process at
// once; another thread failing meanwhile waits for the first writer, which ends the process.
bool BeginDump() {
    const auto self = static_cast<pid_t>(syscall(SYS_gettid));
    pid_t expected = 0;
    if (dumpingThread.compare_exchange_strong(expected, self)) {
        StartWatchdog();
        return true;
    }
    if (expected != self) {
        timespec second{1, 0};
        for (unsigned i = 0; i < 2 * kWatchdogSeconds; ++i) {
            nanosleep(&second, nullptr);
        }
    }
    return false;
}

void OnSignal(int, siginfo_t* info, void* context) {
    if (BeginDump()) {
        CCrashHandler::CrashCause cause;
        cause.kind = Kind::Signal;
        cause.signalInfo = info;
        cause.context = static_cast<const ucontext_t*>(context);
        CCrashHandler::WriteCrashDump(cause);
    }
    ExitAtOnce();
}

[[noreturn]] void FailOutsideSignal(CCrashHandler::CrashCause cause) {
    // Ctrl+C or SIGTERM now would start a second, competing dump.
    sigset_t asynchronous;
    sigemptyset(&asynchronous);
    sigaddset(&asynchronous, SIGINT);
    sigaddset(&asynchronous, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &asynchronous, nullptr);
    if (BeginDump()) {
        ucontext_t here{};  // getcontext fills only some registers; the rest read as zero
        if (CaptureContext(&here)) {
            cause.context = &here;
        }
        CCrashHandler::WriteCrashDump(cause);
    }
    ExitAtOnce();
}

__attribute__((noinline)) void OnTerminate() {
    CCrashHandler::CrashCause cause;
    cause.kind = Kind::Terminate;
    cause.handlerReturnAddress = __builtin_return_address(0);
    cause.activeException = abi::__cxa_current_exception_type();
    FailOutsideSignal(cause);
}

__attribute__((noinline)) void OnHeapExhausted() {
    CCrashHandler::CrashCause cause;
    cause.kind = Kind::NewHandler;
    cause.handlerReturnAddress = __builtin_return_address(0);
    FailOutsideSignal(cause);
}

// Only the installing thread gets it; a stack overflow on another thread is not caught.
void InstallAlternateStack() {
    static void* mapping = nullptr;
    const auto page = static_cast<std::size_t>(sysconf(_SC_PAGESIZE));
    const std::size_t wanted = std::max<std::size_t>(kAlternateStackSize, SIGSTKSZ);
    const std::size_t size = (wanted + page - 1) / page * page;
    if (mapping == nullptr) {
        // A guard page below, so a handler that overruns faults instead of writing over memory.
        void* memory = mmap(nullptr, size + page, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
        if (memory == MAP_FAILED) {
            return;
        }
        mprotect(memory, page, PROT_NONE);
        mapping = memory;
    }
    stack_t stack{};
    stack.ss_sp = static_cast<char*>(mapping) + page;
    stack.ss_size = size;
    sigaltstack(&stack, nullptr);
}

}  // namespace

void CCrashHandler::InstallCrashHandlers() {
#if defined(RZ470_HAVE_BACKTRACE)
    void* warmUp[1];
    backtrace(warmUp, 1);
#endif
    InstallAlternateStack();

    // SA_NODEFER lets a fault inside the handler reach it again and end the process with the
    // right exit code; with the signal blocked the kernel would kill the process instead.
    struct sigaction action {};
    action.sa_sigaction = OnSignal;
    action.sa_flags = SA_SIGINFO | SA_ONSTACK | SA_NODEFER;
    sigemptyset(&action.sa_mask);
    sigaddset(&action.sa_mask, SIGINT);
    sigaddset(&action.sa_mask, SIGTERM);
    for (int signalNumber : {SIGSEGV, SIGBUS, SIGILL, SIGFPE}) {
        sigaction(signalNumber, &action, nullptr);
    }
    std::set_terminate(OnTerminate);
    std::set_new_handler(OnHeapExhausted);
    for (int signalNumber : {SIGABRT, SIGINT, SIGTERM}) {
        sigaction(signalNumber, &action, nullptr);
    }

    // A mask inherited from the parent must not keep SIGINT and SIGTERM from ending the panel.
    sigset_t hooked;
    sigemptyset(&hooked);
    for (int signalNumber : kHookedSignals) {
        sigaddset(&hooked, signalNumber);
    }
    pthread_sigmask(SIG_UNBLOCK, &hooked, nullptr);
}

void CCrashHandler::WriteCrashDump(const CrashCause& cause) {
    // Created anew: O_EXCL never follows a link planted under the dump's name, and a file that
    // cannot be removed (a folder of that name, say) means no dump at all.
    unlink(kDumpFileName);
    const int fd = open(kDumpFileName, O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd < 0) {
        return;
    }
    DumpWriter out(fd);
    const MachineState state = StateOf(cause.context);
    std::uintptr_t stackPointer = state.sp;
    if (stackPointer == 0) {
        stackPointer = reinterpret_cast<std::uintptr_t>(&out);
    }
    const std::uintptr_t windowFirst =
        (stackPointer > kStackBelowPointer ? stackPointer - kStackBelowPointer : 0) & ~std::uintptr_t{15};
    StackWindowFinder finder(windowFirst, windowFirst + kStackWindowSize);

    WriteHeader(out, cause);
    WriteRegisters(out, cause.context);
    if (out.Flush()) {
        WriteMemoryMap(out, finder);
    }
    if (out.Flush()) {
        WriteStack(out, finder);
    }
    if (out.Flush()) {
        WriteBacktrace(out, cause, state.pc);
    }
    if (out.Flush() && cause.kind == Kind::Terminate && cause.activeException != nullptr) {
        WriteException(out);
    }
    if (out.Flush()) {
        out.Text("--- end\n");
        out.Flush();
    }
    close(fd);
}
