#pragma once

#include <QString>

#include <functional>
#include <memory>

class QSettings;

// The panel's four profile operations over QSettings. Reading never creates a value; an absent
// or unreadable value yields the caller's default. Every write goes out at once; one that cannot
// (a read-only file, a folder in its place, a full disk) is reported once, and the value stays
// readable for the rest of the run.
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

    // Reads again what another writer may have stored since.
    void reload();

    // Called with location() on the first write the store could not keep, and never again.
    void setWriteFailureHandler(std::function<void(const QString& location)> handler);
    bool hasWriteFailed() const { return writeFailed_; }

private:
    QString key(const QString& section, const QString& name) const;
    void writeOut();

    std::unique_ptr<QSettings> settings_;
    std::function<void(const QString&)> writeFailureHandler_;
    bool writeFailed_ = false;
};
