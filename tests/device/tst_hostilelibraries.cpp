// Library files a hostile or damaged folder may hold: each is refused with its message, none
// crashes the panel.
#include "DeviceApi.h"
#include "LibraryBinding.h"
#include "LibraryLoader.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <elf.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstring>
#include <functional>

namespace {

const QString kFileName = QStringLiteral("libRZ470.so");
const QString kUnloadable = QStringLiteral("DLL Module not Loaded! Error Code: 193");

QByteArray completeLibrary() {
    QFile file(QDir(QStringLiteral(RZ470_TEST_LIBS_DIR)).filePath(QStringLiteral("complete/") + kFileName));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// A T read from image at offset at, or a zeroed T where the image holds no whole T there: the
// offsets come from the image itself, which the tests damage on purpose.
template <typename T>
T readAt(const QByteArray& image, qint64 at) {
    T value{};
    if (at >= 0 && at <= image.size() - static_cast<qint64>(sizeof value)) {
        std::memcpy(&value, image.constData() + at, sizeof value);
    }
    return value;
}

Elf64_Ehdr headerOf(const QByteArray& image) {
    return readAt<Elf64_Ehdr>(image, 0);
}

void putHeader(QByteArray& image, const Elf64_Ehdr& header) {
    if (image.size() >= static_cast<qint64>(sizeof header)) {
        std::memcpy(image.data(), &header, sizeof header);
    }
}

// Offset of the version note: its header and owner name as the note macro writes them.
int versionNoteAt(const QByteArray& image) {
    static const char kNoteStart[] = "\x06\0\0\0\x34\0\0\0\x01\0\0\0RZ470";
    return static_cast<int>(image.indexOf(QByteArray(kNoteStart, sizeof kNoteStart)));
}

// The section header of the note section holding the version note.
int versionSectionHeaderAt(const QByteArray& image) {
    const Elf64_Ehdr header = headerOf(image);
    const int note = versionNoteAt(image);
    for (int i = 0; i < header.e_shnum; ++i) {
        const qint64 at = static_cast<qint64>(header.e_shoff) + qint64(i) * header.e_shentsize;
        const auto section = readAt<Elf64_Shdr>(image, at);
        if (section.sh_type == SHT_NOTE && static_cast<int>(section.sh_offset) == note) {
            return static_cast<int>(at);
        }
    }
    return -1;
}

void patchWord(QByteArray& image, int at, quint32 value) {
    QVERIFY2(at >= 0 && at <= image.size() - static_cast<int>(sizeof value), "patch outside the image");
    std::memcpy(image.data() + at, &value, sizeof value);
}

// The library cut short after its version note, with its section table put back after the cut:
// the note still reads, but the loadable segments end past the end of the file.
QByteArray segmentsCutSectionsKept(const QByteArray& image) {
    Elf64_Ehdr header = headerOf(image);
    const int cut = (versionNoteAt(image) + 72 + 7) & ~7;
    QByteArray cutImage = image.left(cut);
    cutImage += image.mid(static_cast<int>(header.e_shoff), header.e_shnum * header.e_shentsize);
    header.e_shoff = static_cast<Elf64_Off>(cut);
    putHeader(cutImage, header);
    return cutImage;
}

using Damage = std::function<QByteArray(const QByteArray&)>;

}  // namespace

Q_DECLARE_METATYPE(Damage)

class HostileLibrariesTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        QVERIFY(!completeLibrary().isEmpty());
        QVERIFY(versionNoteAt(completeLibrary()) > 0);
        QVERIFY(versionSectionHeaderAt(completeLibrary()) > 0);
    }

    void refusesDamagedFiles_data() {
        QTest::addColumn<Damage>("damage");
        QTest::addColumn<QString>("expectedText");

        const QString noVersion = binding::kNoVersionInfo;
        QTest::newRow("empty file") << Damage([](const QByteArray&) { return QByteArray(); }) << noVersion;
        QTest::newRow("cut inside the ELF header")
            << Damage([](const QByteArray& image) { return image.left(40); }) << noVersion;
        QTest::newRow("cut after the program headers") << Damage([](const QByteArray& image) {
            const Elf64_Ehdr header = headerOf(image);
            return image.left(static_cast<int>(header.e_phoff + header.e_phnum * header.e_phentsize));
        }) << noVersion;
        QTest::newRow("cut inside the version note")
            << Damage([](const QByteArray& image) { return image.left(versionNoteAt(image) + 40); })
            << noVersion;
        QTest::newRow("cut in half") << Damage([](const QByteArray& image) {
            return image.left(image.size() / 2);
        }) << noVersion;
        QTest::newRow("cut by one byte")
            << Damage([](const QByteArray& image) { return image.left(image.size() - 1); }) << noVersion;
        QTest::newRow("segments cut, section table kept") << Damage(segmentsCutSectionsKept) << kUnloadable;

        for (const quint32 size : {0u, 51u, 53u, 56u, 0x10000u, 0x7FFFFFFFu, 0xFFFFFFF0u, 0xFFFFFFFFu}) {
            QTest::addRow("version note of %u bytes", size) << Damage([size](const QByteArray& image) {
                QByteArray patched = image;
                patchWord(patched, versionNoteAt(image) + 4, size);
                return patched;
            }) << noVersion;
        }
        for (const quint32 size : {0u, 0xFFFFFFFFu}) {
            QTest::addRow("owner name of %u bytes", size) << Damage([size](const QByteArray& image) {
                QByteArray patched = image;
                patchWord(patched, versionNoteAt(image), size);
                return patched;
            }) << noVersion;
        }
        for (const quint64 size : {quint64{0x100000}, quint64{0x7FFFFFFFFFFFFFF0}, ~quint64{0}}) {
            QTest::addRow("note section of %llu bytes", static_cast<unsigned long long>(size))
                << Damage([size](const QByteArray& image) {
                       QByteArray patched = image;
                       const int at = versionSectionHeaderAt(image) + offsetof(Elf64_Shdr, sh_size);
                       std::memcpy(patched.data() + at, &size, sizeof size);
                       return patched;
                   })
                << noVersion;
        }
        QTest::newRow("note section starting past the end") << Damage([](const QByteArray& image) {
            QByteArray patched = image;
            const quint64 offset = ~quint64{0} - 16;
            const int at = versionSectionHeaderAt(image) + offsetof(Elf64_Shdr, sh_offset);
            std::memcpy(patched.data() + at, &offset, sizeof offset);
            return patched;
        }) << noVersion;
        QTest::newRow("section table past the end") << Damage([](const QByteArray& image) {
            QByteArray patched = image;
            Elf64_Ehdr header = headerOf(image);
            header.e_shoff = ~Elf64_Off{0} - 64;
            putHeader(patched, header);
            return patched;
        }) << noVersion;
        QTest::newRow("65535 sections") << Damage([](const QByteArray& image) {
            QByteArray patched = image;
            Elf64_Ehdr header = headerOf(image);
            header.e_shnum = 0xFFFF;
            putHeader(patched, header);
            return patched;
        }) << noVersion;
        QTest::newRow("program headers past the end") << Damage([](const QByteArray& image) {
            QByteArray patched = image;
            Elf64_Ehdr header = headerOf(image);
            header.e_phoff = ~Elf64_Off{0} - 64;
            putHeader(patched, header);
            return patched;
        }) << kUnloadable;
    }

    void refusesDamagedFiles() {
        QFETCH(Damage, damage);
        QFETCH(QString, expectedText);

        QTemporaryDir dir;
        QFile file(dir.filePath(kFileName));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(damage(completeLibrary()));
        file.close();

        DeviceApi api;
        QCOMPARE(BindDeviceLibrary(api, {dir.path()}), std::optional<QString>(expectedText));
        QVERIFY(!api.isBound());
    }

    void aDirectoryNamedLikeTheLibraryIsPassedOver() {
        QTemporaryDir first;
        QTemporaryDir second;
        QVERIFY(QDir(first.path()).mkdir(kFileName));

        DeviceApi api;
        QCOMPARE(BindDeviceLibrary(api, {first.path()}), std::optional<QString>(binding::kNoVersionInfo));

        QVERIFY(QFile::copy(
            QDir(QStringLiteral(RZ470_TEST_LIBS_DIR)).filePath(QStringLiteral("complete/") + kFileName),
            second.filePath(kFileName)));
        QCOMPARE(LibraryLoader::locate(kFileName, {first.path(), second.path()}), second.filePath(kFileName));
    }

    void linksThatLeadNowhereAreRefused_data() {
        QTest::addColumn<QString>("target");
        QTest::newRow("dangling") << QStringLiteral("missing.so");
        QTest::newRow("to itself") << kFileName;
        QTest::newRow("to a device") << QStringLiteral("/dev/zero");
    }

    void linksThatLeadNowhereAreRefused() {
        QFETCH(QString, target);
        QTemporaryDir dir;
        QVERIFY(QFile::link(target, dir.filePath(kFileName)));
        DeviceApi api;
        QCOMPARE(BindDeviceLibrary(api, {dir.path()}), std::optional<QString>(binding::kNoVersionInfo));
    }

    void bindsFromAFolderWithSpacesAndNonAsciiCharacters() {
        QTemporaryDir root;
        const QString folder = root.filePath(QStringLiteral("Mikroskop Läbor/Ø 2 – 光源 ✓"));
        QVERIFY(QDir().mkpath(folder));
        QVERIFY(QFile::copy(
            QDir(QStringLiteral(RZ470_TEST_LIBS_DIR)).filePath(QStringLiteral("complete/") + kFileName),
            QDir(folder).filePath(kFileName)));

        DeviceApi api;
        QCOMPARE(BindDeviceLibrary(api, {folder}), std::nullopt);
        QVERIFY(api.isBound());
        QCOMPARE(LibraryLoader::readFixedFileInfo(QDir(folder).filePath(kFileName)).size(), 52);
    }

    void anUnreadableLibraryHasNoVersionInformation() {
        QTemporaryDir dir;
        const QString path = dir.filePath(kFileName);
        QVERIFY(QFile::copy(
            QDir(QStringLiteral(RZ470_TEST_LIBS_DIR)).filePath(QStringLiteral("complete/") + kFileName),
            path));
        QVERIFY(QFile::setPermissions(path, QFileDevice::Permissions()));
        // Others may look into the folder, so the file is found and only its reading fails.
        QVERIFY(QFile::setPermissions(dir.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                                      QFileDevice::ExeOwner | QFileDevice::ReadOther |
                                                      QFileDevice::ExeOther));

        // Root reads any file: the binding then runs in a child that has given up root.
        int pipeEnds[2];
        QCOMPARE(::pipe(pipeEnds), 0);
        const pid_t child = ::fork();
        QVERIFY(child >= 0);
        if (child == 0) {
            ::close(pipeEnds[0]);
            if (::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0)) {
                ::_exit(2);
            }
            DeviceApi api;
            const bool found = LibraryLoader::locate(kFileName, {dir.path()}) == path;
            const std::optional<QString> failure = BindDeviceLibrary(api, {dir.path()});
            const QByteArray report = QByteArray(found ? "found:" : "not found:") +
                                      (failure ? failure->toUtf8() : QByteArray("bound"));
            const bool written = ::write(pipeEnds[1], report.constData(), report.size()) == report.size();
            ::_exit(written ? 0 : 3);
        }
        ::close(pipeEnds[1]);
        QByteArray report;
        char buffer[256];
        for (ssize_t n; (n = ::read(pipeEnds[0], buffer, sizeof buffer)) > 0;) {
            report.append(buffer, static_cast<int>(n));
        }
        ::close(pipeEnds[0]);
        int status = 0;
        QCOMPARE(::waitpid(child, &status, 0), child);
        QVERIFY(WIFEXITED(status));
        QCOMPARE(WEXITSTATUS(status), 0);
        QCOMPARE(QString::fromUtf8(report), QStringLiteral("found:") + binding::kNoVersionInfo);
    }
};

QTEST_GUILESS_MAIN(HostileLibrariesTest)
#include "tst_hostilelibraries.moc"
