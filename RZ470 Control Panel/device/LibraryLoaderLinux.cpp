#include "LibraryLoaderPlatform.h"

#include "RZ470Api.h"

#include <dlfcn.h>
#include <fcntl.h>
#include <gelf.h>
#include <libelf.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>

namespace LibraryLoader::platform {

namespace {

// Owns one libelf session over one file descriptor.
class ElfFile {
public:
    explicit ElfFile(const NativePath& path) {
        if (elf_version(EV_CURRENT) == EV_NONE) {
            return;
        }
        fd_ = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
        if (fd_ < 0) {
            return;
        }
        elf_ = elf_begin(fd_, ELF_C_READ, nullptr);
        if (elf_ != nullptr && elf_kind(elf_) != ELF_K_ELF) {
            elf_end(elf_);
            elf_ = nullptr;
        }
    }
    ~ElfFile() {
        if (elf_ != nullptr) {
            elf_end(elf_);
        }
        if (fd_ >= 0) {
            ::close(fd_);
        }
    }
    ElfFile(const ElfFile&) = delete;
    ElfFile& operator=(const ElfFile&) = delete;

    Elf* elf() const { return elf_; }
    int fd() const { return fd_; }

private:
    int fd_ = -1;
    Elf* elf_ = nullptr;
};

struct NoteBody {
    const char* first = nullptr;
    size_t size = 0;
};

NoteBody versionNoteIn(Elf_Data* data) {
    size_t offset = 0;
    GElf_Nhdr header;
    size_t nameOffset = 0;
    size_t descOffset = 0;
    while (offset < data->d_size &&
           (offset = gelf_getnote(data, offset, &header, &nameOffset, &descOffset)) > 0) {
        const char* base = static_cast<const char*>(data->d_buf);
        const size_t ownerLength = std::strlen(rz470::kVersionNoteOwner) + 1;
        if (header.n_type == rz470::kVersionNoteType && header.n_namesz == ownerLength &&
            std::memcmp(base + nameOffset, rz470::kVersionNoteOwner, ownerLength) == 0) {
            return {base + descOffset, header.n_descsz};
        }
    }
    return {};
}

#if defined(__x86_64__)
constexpr int kHostMachine = EM_X86_64;
#elif defined(__aarch64__)
constexpr int kHostMachine = EM_AARCH64;
#elif defined(__i386__)
constexpr int kHostMachine = EM_386;
#elif defined(__arm__)
constexpr int kHostMachine = EM_ARM;
#else
constexpr int kHostMachine = EM_NONE;  // unknown host: leave the judgement to the loader
#endif

constexpr int kHostClass = sizeof(void*) == 8 ? ELFCLASS64 : ELFCLASS32;

// The dynamic loader maps a segment that runs past the end of a cut-short file and then dies of
// SIGBUS touching it; such a file is refused before it gets there.
bool segmentsWithinFile(const ElfFile& file) {
    struct stat status {};
    size_t count = 0;
    if (::fstat(file.fd(), &status) != 0 || elf_getphdrnum(file.elf(), &count) != 0 || count == 0) {
        return false;
    }
    const auto fileSize = static_cast<GElf_Off>(status.st_size);
    for (size_t i = 0; i < count; ++i) {
        GElf_Phdr segment;
        if (gelf_getphdr(file.elf(), static_cast<int>(i), &segment) == nullptr) {
            return false;
        }
        if (segment.p_type == PT_LOAD &&
            (segment.p_offset > fileSize || segment.p_filesz > fileSize - segment.p_offset)) {
            return false;
        }
    }
    return true;
}

// The loader's own judgement arrives only as text; the header is checked first so the common
// case does not depend on its wording.
bool isLoadableImage(const NativePath& path) {
    ElfFile file(path);
    if (file.elf() == nullptr) {
        return false;
    }
    GElf_Ehdr header;
    if (gelf_getehdr(file.elf(), &header) == nullptr) {
        return false;
    }
    if (header.e_type != ET_DYN || header.e_ident[EI_CLASS] != kHostClass ||
        (kHostMachine != EM_NONE && header.e_machine != kHostMachine)) {
        return false;
    }
    return segmentsWithinFile(file);
}

bool isRegularFile(const NativePath& path) {
    struct stat status {};
    return ::stat(path.c_str(), &status) == 0 && S_ISREG(status.st_mode);
}

long errorCodeFor(const char* message) {
    const std::string text(message != nullptr ? message : "");
    const auto has = [&text](const char* part) { return text.find(part) != std::string::npos; };
    if (has("No such file")) {
        return kModuleNotFound;
    }
    if (has("undefined symbol")) {
        return kSymbolNotFound;
    }
    if (has("invalid ELF header") || has("wrong ELF class") || has("file too short") ||
        has("ELF load command") || has("only ET_DYN")) {
        return kBadImage;
    }
    return kInitialisationFailed;
}

}  // namespace

std::vector<NativePath> systemSearchDirs() {
    std::vector<NativePath> dirs;
    // An empty entry in LD_LIBRARY_PATH means the current directory to the dynamic loader;
    // the panel never looks there, nor in any other relative folder.
    const char* libraryPath = std::getenv("LD_LIBRARY_PATH");
    const std::string entries = libraryPath != nullptr ? libraryPath : "";
    size_t start = 0;
    while (start <= entries.size()) {
        size_t end = entries.find(':', start);
        if (end == std::string::npos) {
            end = entries.size();
        }
        const std::string dir = entries.substr(start, end - start);
        if (!dir.empty() && dir.front() == '/') {
            dirs.push_back(dir);
        }
        start = end + 1;
    }
    for (const char* dir : {"/usr/local/lib", "/usr/lib/x86_64-linux-gnu", "/usr/lib/aarch64-linux-gnu",
                            "/lib", "/usr/lib", "/lib64", "/usr/lib64"}) {
        dirs.emplace_back(dir);
    }
    return dirs;
}

std::vector<char> fixedFileInfo(const NativePath& path) {
    ElfFile file(path);
    if (file.elf() == nullptr) {
        return {};
    }
    Elf_Scn* section = nullptr;
    while ((section = elf_nextscn(file.elf(), section)) != nullptr) {
        GElf_Shdr header;
        if (gelf_getshdr(section, &header) == nullptr || header.sh_type != SHT_NOTE) {
            continue;
        }
        Elf_Data* data = nullptr;
        while ((data = elf_getdata(section, data)) != nullptr) {
            const NoteBody note = versionNoteIn(data);
            if (note.size > 0) {
                return std::vector<char>(note.first, note.first + note.size);
            }
        }
    }
    return {};
}

Opened open(const NativePath& path) {
    if (!isRegularFile(path)) {
        return {nullptr, kModuleNotFound};
    }
    if (!isLoadableImage(path)) {
        return {nullptr, kBadImage};
    }
    void* handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (handle == nullptr) {
        return {nullptr, errorCodeFor(dlerror())};
    }
    return {handle, 0};
}

void* symbol(void* handle, const char* name) {
    return dlsym(handle, name);
}

}  // namespace LibraryLoader::platform
