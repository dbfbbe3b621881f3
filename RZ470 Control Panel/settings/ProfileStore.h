#pragma once

#include <QString>

#include <memory>

class QSettings;

// The panel's four profile operations over QSettings. Reading never creates a value; an absent
// or unreadable value yields the caller's default. Every write goes out at once.
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

private:
    QString key(const QString& section, const QString& name) const;

    std::unique_ptr<QSettings> settings_;
};
