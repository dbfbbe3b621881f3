#pragma once

#include <QElapsedTimer>
#include <QString>

#include <functional>
#include <memory>

class QSettings;
class QTimer;

// The panel's four profile operations over QSettings. Reading never creates a value; an absent
// or unreadable value yields the caller's default. A write goes out at once, unless the last one
// went out less than kWriteInterval ago: each goes out whole to disk, which takes milliseconds,
// so a burst (a slider dragged, a script setting levels) goes out once the interval is over,
// its last values together. A write that cannot go out (a read-only file, a folder in its place,
// a full disk) is reported once, and the value stays readable for the rest of the run.
class ProfileStore {
public:
    // The user's store: organisation kCompanyKey, application = the executable's name.
    ProfileStore();
    // A store in one INI file, for tests and tools.
    explicit ProfileStore(const QString& iniFile);
    ~ProfileStore();
    ProfileStore(const ProfileStore&) = delete;
    ProfileStore& operator=(const ProfileStore&) = delete;

    int readInt(const QString& section, const QString& name, int defaultValue) const;
    QString readString(const QString& section, const QString& name, const QString& defaultValue) const;
    void writeInt(const QString& section, const QString& name, int value);
    void writeString(const QString& section, const QString& name, const QString& value);

    // Where the values live (a file path, or the registry key on Windows).
    QString location() const;

    // Reads again what another writer may have stored since; what is waiting goes out first.
    void reload();
    // What is waiting goes out now: several values that belong together, and at the end.
    void flush();

    static constexpr int kWriteIntervalMs = 200;

    // Called with location() on the first write the store could not keep, and never again.
    void setWriteFailureHandler(std::function<void(const QString& location)> handler);
    bool hasWriteFailed() const { return writeFailed_; }

private:
    QString key(const QString& section, const QString& name) const;
    // Goes out now, or once the interval since the last write-out is over.
    void scheduleWriteOut();
    void writeOut();

    std::unique_ptr<QSettings> settings_;
    std::unique_ptr<QTimer> laterWrite_;
    QElapsedTimer sinceWriteOut_;
    std::function<void(const QString&)> writeFailureHandler_;
    bool writeFailed_ = false;
};
