#pragma once

#include <QString>

#include <memory>

class QLockFile;

// The panel's private folder in the user's runtime folder, and the lock in it that lets one panel
// run per user. Whatever else reaches the running panel (its sockets) lives in the same folder,
// which is the user's alone: owned by the user and mode 0700, or refused.
class PanelInstanceLock {
public:
    enum class Outcome { Acquired, HeldByAnother, FolderRefused };

    static constexpr const char* kFolderName = "rz470-control-panel";
    static constexpr const char* kLockName = "panel.lock";

    // runtimeFolder: where the private folder is made; empty: the user's runtime folder.
    explicit PanelInstanceLock(const QString& runtimeFolder = QString());
    ~PanelInstanceLock();
    PanelInstanceLock(const PanelInstanceLock&) = delete;
    PanelInstanceLock& operator=(const PanelInstanceLock&) = delete;

    // Makes or checks the private folder, then takes the lock without waiting. A lock left by a
    // panel that no longer runs is taken over.
    Outcome Acquire();
    bool isHeld() const;

    // The private folder; empty until Acquire found one it accepts.
    QString folder() const { return folder_; }
    QString pathInFolder(const QString& name) const;
    // Why the folder was refused, in one line.
    QString failure() const { return failure_; }

private:
    bool PrepareFolder();

    QString runtimeFolder_;
    QString folder_;
    QString failure_;
    std::unique_ptr<QLockFile> lock_;
};
