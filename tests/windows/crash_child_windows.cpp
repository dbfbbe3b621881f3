// Installs the panel's crash handler, then fails the way its argument names; the crash suite
// runs it and reads what the handler left behind.
#include "CCrashHandler.h"

#include <windows.h>

#include <cstdlib>
#include <cstring>

namespace {

struct Base {
    Base();
    virtual ~Base() = default;
    virtual void pure() = 0;
};

// The base's constructor calls the pure function before any derived class exists.
void callPure(Base* self) {
    self->pure();
}
Base::Base() {
    callPure(this);
}

struct Derived : Base {
    void pure() override {}
};

}  // namespace

int main(int argc, char** argv) {
    CCrashHandler::InstallCrashHandlers();
    const char* how = argc > 1 ? argv[1] : "";
    if (std::strcmp(how, "access-violation") == 0) {
        volatile int* nowhere = nullptr;
        *nowhere = 1;
    } else if (std::strcmp(how, "abort") == 0) {
        std::abort();
    } else if (std::strcmp(how, "pure-call") == 0) {
        Derived derived;
    } else if (std::strcmp(how, "exception") == 0) {
        RaiseException(0xE0000001, 0, 0, nullptr);
    }
    return 0;
}
