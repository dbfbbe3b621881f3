#pragma once

#include <string>
#include <vector>

// What finding, inspecting and loading a shared library means on this platform, with no Qt, so
// the Windows half can be compiled and checked on any build machine. LibraryLoader turns paths
// and results into Qt types.
namespace LibraryLoader::platform {

// Platform error codes the binding reports; Windows passes its own codes through.
constexpr long kModuleNotFound = 126;         // the file, or a library it needs, is missing
constexpr long kBadImage = 193;               // not a loadable library for this machine
constexpr long kSymbolNotFound = 127;         // the library needs a symbol nothing provides
constexpr long kInitialisationFailed = 1114;  // any other refusal of the loader

// File names as the operating system takes them: UTF-16 on Windows, bytes elsewhere.
#if defined(_WIN32)
using NativePath = std::wstring;
#else
using NativePath = std::string;
#endif

struct Opened {
    void* handle = nullptr;
    long errorCode = 0;  // set when handle is null
};

// The folders searched after the executable's own, in order.
std::vector<NativePath> systemSearchDirs();

// The fixed file information block as stored in the file, or empty when it carries none.
std::vector<char> fixedFileInfo(const NativePath& path);

Opened open(const NativePath& path);

void* symbol(void* handle, const char* name);

}  // namespace LibraryLoader::platform
