#include "SimLibrary.h"

#include <dlfcn.h>
#include <fcntl.h>
#include <gelf.h>
#include <libelf.h>
#include <unistd.h>

#include <cstring>

bool SimLibrary::load(const QString& path, QString& error) {
    handle_ = dlopen(path.toLocal8Bit().constData(), RTLD_NOW | RTLD_LOCAL);
    if (handle_ == nullptr) {
        error = QString::fromLocal8Bit(dlerror());
        return false;
    }
    QStringList missing;
#define SIM_TEST_RESOLVE(name, ret, params)                                \
    api_.name = reinterpret_cast<RZ470_##name##_t>(dlsym(handle_, #name)); \
    if (api_.name == nullptr)                                              \
        missing << QStringLiteral(#name);
    RZ470_ENTRY_POINTS(SIM_TEST_RESOLVE)
#undef SIM_TEST_RESOLVE
    api_.command = reinterpret_cast<RZ470Sim_Command_t>(dlsym(handle_, "RZ470Sim_Command"));
    if (api_.command == nullptr)
        missing << QStringLiteral("RZ470Sim_Command");
    error = missing.join(QLatin1Char(' '));
    return missing.isEmpty();
}

QString SimLibrary::run(const QString& command) const {
    return QString::fromUtf8(api_.command(command.toUtf8().constData()));
}

QMap<QString, QString> SimLibrary::status() const {
    QMap<QString, QString> values;
    const QStringList lines = run(QStringLiteral("status")).split(QLatin1Char('\n'));
    for (const QString& line : lines) {
        const int equals = line.indexOf(QLatin1Char('='));
        if (equals > 0)
            values.insert(line.left(equals), line.mid(equals + 1));
    }
    return values;
}

namespace {

struct ElfFile {
    int fd = -1;
    Elf* elf = nullptr;
    explicit ElfFile(const QString& path) {
        elf_version(EV_CURRENT);
        fd = open(path.toLocal8Bit().constData(), O_RDONLY | O_CLOEXEC);
        if (fd >= 0)
            elf = elf_begin(fd, ELF_C_READ, nullptr);
    }
    ~ElfFile() {
        if (elf != nullptr)
            elf_end(elf);
        if (fd >= 0)
            close(fd);
    }
};

}  // namespace

QStringList definedDynamicSymbols(const QString& path, QString& error) {
    ElfFile file(path);
    QStringList names;
    if (file.elf == nullptr) {
        error = QStringLiteral("not readable as ELF");
        return names;
    }
    Elf_Scn* section = nullptr;
    while ((section = elf_nextscn(file.elf, section)) != nullptr) {
        GElf_Shdr header;
        if (gelf_getshdr(section, &header) == nullptr || header.sh_type != SHT_DYNSYM ||
            header.sh_entsize == 0)
            continue;
        Elf_Data* data = elf_getdata(section, nullptr);
        const size_t count = header.sh_size / header.sh_entsize;
        for (size_t i = 0; data != nullptr && i < count; ++i) {
            GElf_Sym symbol;
            if (gelf_getsym(data, static_cast<int>(i), &symbol) == nullptr || symbol.st_shndx == SHN_UNDEF ||
                GELF_ST_BIND(symbol.st_info) == STB_LOCAL || symbol.st_name == 0)
                continue;
            names << QString::fromLatin1(elf_strptr(file.elf, header.sh_link, symbol.st_name));
        }
    }
    return names;
}

quint32 noteFileVersion(const QString& path) {
    ElfFile file(path);
    if (file.elf == nullptr)
        return 0;
    size_t namesIndex = 0;
    if (elf_getshdrstrndx(file.elf, &namesIndex) != 0)
        return 0;
    Elf_Scn* section = nullptr;
    while ((section = elf_nextscn(file.elf, section)) != nullptr) {
        GElf_Shdr header;
        if (gelf_getshdr(section, &header) == nullptr || header.sh_type != SHT_NOTE)
            continue;
        const char* name = elf_strptr(file.elf, namesIndex, header.sh_name);
        if (name == nullptr || std::strcmp(name, rz470::kVersionNoteSection) != 0)
            continue;
        Elf_Data* data = elf_getdata(section, nullptr);
        GElf_Nhdr note;
        size_t nameOffset = 0;
        size_t descOffset = 0;
        if (data == nullptr || gelf_getnote(data, 0, &note, &nameOffset, &descOffset) == 0 ||
            note.n_descsz != sizeof(rz470::FixedFileInfo))
            return 0;
        rz470::FixedFileInfo info;
        std::memcpy(&info, static_cast<const char*>(data->d_buf) + descOffset, sizeof info);
        return info.signature == rz470::kFixedFileInfoSignature ? info.fileVersionMS : 0;
    }
    return 0;
}
