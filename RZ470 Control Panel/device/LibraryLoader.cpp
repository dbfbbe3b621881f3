#include "LibraryLoader.h"

#include "RZ470Api.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#include <cstring>

#if defined(_WIN32)
#include <windows.h>
#else
#include <dlfcn.h>
#include <fcntl.h>
#include <gelf.h>
#include <libelf.h>
#include <unistd.h>
#endif

namespace LibraryLoader {

QStringList defaultSearchDirs() {
    QStringList dirs;
    dirs << QCoreApplication::applicationDirPath();
#if defined(_WIN32)
    wchar_t systemDir[MAX_PATH];
    const UINT length = GetSystemDirectoryW(systemDir, MAX_PATH);
    if (length > 0 && length < MAX_PATH) {
        dirs << QString::fromWCharArray(systemDir, static_cast<int>(length));
    }
    const QStringList pathDirs = qEnvironmentVariable("PATH").split(QLatin1Char(';'), Qt::SkipEmptyParts);
    dirs << pathDirs;
#else
    // An empty entry in LD_LIBRARY_PATH means the current directory to the dynamic loader;
    // the panel never looks there.
    for (const QString& dir : qEnvironmentVariable("LD_LIBRARY_PATH").split(QLatin1Char(':'))) {
        if (!dir.isEmpty() && dir != QLatin1String(".")) {
            dirs << dir;
        }
    }
    dirs << QStringLiteral("/usr/local/lib") << QStringLiteral("/usr/lib/x86_64-linux-gnu")
         << QStringLiteral("/usr/lib/aarch64-linux-gnu") << QStringLiteral("/lib")
         << QStringLiteral("/usr/lib") << QStringLiteral("/lib64") << QStringLiteral("/usr/lib64");
#endif
    return dirs;
}

QString locate(const QString& fileName, const QStringList& dirs) {
    for (const QString& dir : dirs) {
        if (QDir::isRelativePath(dir)) {
            continue;  // a relative folder would resolve against the current directory
        }
        const QFileInfo candidate(QDir(dir).filePath(fileName));
        if (candidate.isFile()) {
            return candidate.absoluteFilePath();
        }
    }
    return {};
}

#if defined(_WIN32)

QByteArray readFixedFileInfo(const QString& path) {
    const std::wstring file = QDir::toNativeSeparators(path).toStdWString();
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeW(file.c_str(), &ignored);
    if (size == 0) {
        return {};
    }
    QByteArray buffer(static_cast<int>(size), '\0');
    if (!GetFileVersionInfoW(file.c_str(), 0, size, buffer.data())) {
        return {};
    }
    void* block = nullptr;
    UINT length = 0;
    if (!VerQueryValueW(buffer.data(), L"\\", &block, &length) || block == nullptr) {
        return {};
    }
    return QByteArray(static_cast<const char*>(block), static_cast<int>(length));
}

LoadOutcome load(const QString& path) {
    const std::wstring file = QDir::toNativeSeparators(path).toStdWString();
    HMODULE module = LoadLibraryW(file.c_str());
    if (module == nullptr) {
        return {nullptr, static_cast<long>(GetLastError())};
    }
    return {module, 0};
}

void* symbol(void* handle, const char* name) {
    return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(handle), name));
}

#else

namespace {

// Owns one libelf session over one file descriptor.
class ElfFile {
public:
    explicit ElfFile(const QString& path) {
        if (elf_version(EV_CURRENT) == EV_NONE) {
            return;
        }
        fd_ = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
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

private:
    int fd_ = -1;
    Elf* elf_ = nullptr;
};

QByteArray versionNoteIn(Elf_Data* data) {
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
            return QByteArray(base + descOffset, static_cast<int>(header.n_descsz));
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

// The loader's own judgement arrives only as text; the header is checked first so the common
// case does not depend on its wording.
bool isLoadableImage(const QString& path) {
    ElfFile file(path);
    if (file.elf() == nullptr) {
        return false;
    }
    GElf_Ehdr header;
    if (gelf_getehdr(file.elf(), &header) == nullptr) {
        return false;
    }
    return header.e_type == ET_DYN && header.e_ident[EI_CLASS] == kHostClass &&
           (kHostMachine == EM_NONE || header.e_machine == kHostMachine);
}

long errorCodeFor(const char* message) {
    const QByteArray text(message != nullptr ? message : "");
    if (text.contains("No such file")) {
        return kModuleNotFound;
    }
    if (text.contains("undefined symbol")) {
        return kSymbolNotFound;
    }
    if (text.contains("invalid ELF header") || text.contains("wrong ELF class") ||
        text.contains("file too short") || text.contains("ELF load command") ||
        text.contains("only ET_DYN")) {
        return kBadImage;
    }
    return kInitialisationFailed;
}

}  // namespace

QByteArray readFixedFileInfo(const QString& path) {
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
            const QByteArray block = versionNoteIn(data);
            if (!block.isEmpty()) {
                return block;
            }
        }
    }
    return {};
}

LoadOutcome load(const QString& path) {
    if (!QFileInfo(path).isFile()) {
        return {nullptr, kModuleNotFound};
    }
    if (!isLoadableImage(path)) {
        return {nullptr, kBadImage};
    }
    void* handle = dlopen(QFile::encodeName(path).constData(), RTLD_NOW | RTLD_LOCAL);
    if (handle == nullptr) {
        return {nullptr, errorCodeFor(dlerror())};
    }
    return {handle, 0};
}

void* symbol(void* handle, const char* name) {
    return handle != nullptr ? dlsym(handle, name) : nullptr;
}

#endif

}  // namespace LibraryLoader
