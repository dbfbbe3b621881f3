// crash-child <kind>: installs the crash handlers, then fails the way named.
// Exit codes of its own: 0 for "none", 2 for an unknown kind, 77 for a kind this build or
// machine cannot produce. Every failure is built so that the optimiser keeps it.

#include "support/CCrashHandler.h"

#include <signal.h>
#include <sys/mman.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <limits>
#include <stdexcept>
#include <thread>

// Keeps the optimiser from looking into a failure and proving it away.
#if defined(__clang__)
#define CHILD_OPAQUE __attribute__((noinline))
#else
#define CHILD_OPAQUE __attribute__((noipa))
#endif

// Outside the anonymous namespace: a closed class hierarchy lets the compiler prove the pure
// call unreachable and replace it with the one override.
struct Listener {
    virtual ~Listener() { Notify(); }
    // Called through a member so the compiler does not refuse the pure call in the destructor.
    CHILD_OPAQUE void Notify() { OnGone(); }
    virtual void OnGone() = 0;
};

struct ConcreteListener : Listener {
    void OnGone() override {}
};

namespace {

constexpr int kUnsupported = 77;

volatile int neverReachedDepth = -1;
volatile int zero = 0;
volatile int dividend = 1;
char* volatile allocationSink = nullptr;
Listener* volatile listenerSink = nullptr;

// The marker lets the test find this frame in the dump's stack window.
CHILD_OPAQUE int NullWrite() {
    volatile std::uint64_t marker = 0x5a17c0de5a17c0deULL;
    volatile int* volatile target = nullptr;
    *target = 1;
    return static_cast<int>(marker);
}

CHILD_OPAQUE int Recurse(int depth) {
    volatile char pad[1024];
    pad[0] = static_cast<char>(depth);
    if (depth == neverReachedDepth) {
        return pad[0];
    }
    return Recurse(depth + 1) + pad[0];
}

int FailNone() {
    return 0;
}

int FailNullWrite() {
    return NullWrite();
}

int FailNullWriteOnWorker() {
    std::thread worker([] { NullWrite(); });
    worker.join();
    return 0;
}

int FailStackOverflow() {
    return Recurse(0);
}

int FailAbort() {
    abort();
}

int FailPureVirtual() {
    listenerSink = new ConcreteListener;
    delete listenerSink;
    return 0;
}

int FailUncaughtException() {
    throw std::runtime_error("boom: the panel gave up");
}

// Its message faults, so the dump writer itself fails halfway.
struct FaultyException : std::exception {
    const char* what() const noexcept override {
        const char* volatile message = nullptr;
        return message + *message;
    }
};

int FailWhileDumping() {
    throw FaultyException();
}

int FailBadAlloc() {
    volatile std::size_t huge = std::numeric_limits<std::size_t>::max() / 2;
    allocationSink = new char[huge];
    return allocationSink[0];
}

int FailFortify() {
#if defined(__USE_FORTIFY_LEVEL) && __USE_FORTIFY_LEVEL > 0
    char small[8];
    const char* volatile text = "far longer than eight bytes";
    std::strcpy(small, text);
    return small[0];
#else
    return kUnsupported;
#endif
}

int FailDivideByZero() {
#if defined(__x86_64__) || defined(__i386__)
    volatile int quotient = dividend / zero;
    return quotient;
#else
    return kUnsupported;               // integer division does not trap here
#endif
}

int FailIllegalInstruction() {
#if defined(__x86_64__) || defined(__i386__)
    __builtin_trap();  // ud2
#elif defined(__aarch64__)
    asm volatile(".inst 0x00000000");  // udf #0; __builtin_trap would raise SIGTRAP
    return 0;
#else
    return kUnsupported;
#endif
}

// Reading a shared mapping past the end of its (empty) file.
int FailBusError() {
    const int fd = memfd_create("crash-child", 0);
    if (fd < 0) {
        return kUnsupported;
    }
    auto* page = static_cast<volatile char*>(mmap(nullptr, 4096, PROT_READ, MAP_SHARED, fd, 0));
    if (page == MAP_FAILED) {
        return kUnsupported;
    }
    return page[0];
}

// Stays alive until a signal from outside ends it.
int WaitForSignal() {
    static const char ready[] = "ready\n";
    if (write(STDOUT_FILENO, ready, sizeof ready - 1) < 0) {
        return 3;
    }
    for (;;) {
        pause();
    }
}

struct Failure {
    const char* kind;
    int (*run)();
};

const Failure kFailures[] = {
    {"none", FailNone},
    {"null-write", FailNullWrite},
    {"worker-null-write", FailNullWriteOnWorker},
    {"stack-overflow", FailStackOverflow},
    {"abort", FailAbort},
    {"pure-virtual", FailPureVirtual},
    {"uncaught-exception", FailUncaughtException},
    {"fault-while-dumping", FailWhileDumping},
    {"bad-alloc", FailBadAlloc},
    {"fortify", FailFortify},
    {"divide-by-zero", FailDivideByZero},
    {"illegal-instruction", FailIllegalInstruction},
    {"bus-error", FailBusError},
    {"wait", WaitForSignal},
};

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        return 2;
    }
    for (const Failure& failure : kFailures) {
        if (std::strcmp(argv[1], failure.kind) == 0) {
            CCrashHandler::InstallCrashHandlers();
            return failure.run();
        }
    }
    return 2;
}
