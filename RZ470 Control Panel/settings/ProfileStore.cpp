#include "ProfileStore.h"

#include "SettingsKeys.h"

#include <algorithm>

#include <QCoreApplication>
#include <QEvent>
#include <QSettings>
#include <QTimer>

namespace {
// QSettings writes its changes out at the next turn of the event loop by itself; the store
// decides when they go out instead, so a burst is not written once per turn.
class StoreSettings : public QSettings {
public:
    using QSettings::QSettings;

protected:
    bool event(QEvent* event) override {
        return event->type() == QEvent::UpdateRequest || QSettings::event(event);
    }
};
}  // namespace

ProfileStore::ProfileStore()
    : settings_(std::make_unique<StoreSettings>(QSettings::NativeFormat, QSettings::UserScope,
                                                settings::kCompanyKey, QCoreApplication::applicationName())) {
    // Only the program's own key counts: a value found in the company-wide or machine-wide store
    // would show on the panel and reach the unit without this user ever having set it.
    settings_->setFallbacksEnabled(false);
}

ProfileStore::ProfileStore(const QString& iniFile)
    : settings_(std::make_unique<StoreSettings>(iniFile, QSettings::IniFormat)) {}

ProfileStore::~ProfileStore() {
    flush();
}

QString ProfileStore::key(const QString& section, const QString& name) const {
    return section + QLatin1Char('/') + name;
}

int ProfileStore::readInt(const QString& section, const QString& name, int defaultValue) const {
    const QVariant value = settings_->value(key(section, name));
    if (!value.isValid()) {
        return defaultValue;
    }
    bool isNumber = false;
    // Registry numbers are 32-bit; the INI file holds them as text.
    const qlonglong number = value.toString().trimmed().toLongLong(&isNumber);
    if (!isNumber || number < INT32_MIN || number > UINT32_MAX) {
        return defaultValue;
    }
    return static_cast<int>(static_cast<quint32>(number));
}

QString ProfileStore::readString(const QString& section, const QString& name,
                                 const QString& defaultValue) const {
    const QVariant value = settings_->value(key(section, name));
    if (!value.isValid()) {
        return defaultValue;
    }
    // An INI value edited by hand with commas and no quotes comes back as a list.
    if (value.typeId() == QMetaType::QStringList) {
        return value.toStringList().join(QLatin1Char(',')).left(settings::kMaxStoredStringLength);
    }
    if (!value.canConvert<QString>()) {
        return defaultValue;
    }
    return value.toString().left(settings::kMaxStoredStringLength);
}

void ProfileStore::writeInt(const QString& section, const QString& name, int value) {
    settings_->setValue(key(section, name), value);
    scheduleWriteOut();
}

void ProfileStore::writeString(const QString& section, const QString& name, const QString& value) {
    settings_->setValue(key(section, name), value);
    scheduleWriteOut();
}

void ProfileStore::scheduleWriteOut() {
    if (laterWrite_ && laterWrite_->isActive()) {
        return;
    }
    if (!sinceWriteOut_.isValid() || sinceWriteOut_.hasExpired(kWriteIntervalMs)) {
        writeOut();
        return;
    }
    if (!laterWrite_) {
        laterWrite_ = std::make_unique<QTimer>();
        laterWrite_->setSingleShot(true);
        laterWrite_->callOnTimeout([this] { writeOut(); });
    }
    laterWrite_->start(static_cast<int>(std::max<qint64>(0, kWriteIntervalMs - sinceWriteOut_.elapsed())));
}

void ProfileStore::flush() {
    if (laterWrite_ && laterWrite_->isActive()) {
        writeOut();
    }
}

void ProfileStore::writeOut() {
    if (laterWrite_) {
        laterWrite_->stop();
    }
    sinceWriteOut_.start();
    settings_->sync();
    // A file that cannot be read back is a format error, and says nothing about the write.
    if (settings_->status() != QSettings::AccessError || writeFailed_) {
        return;
    }
    writeFailed_ = true;
    if (writeFailureHandler_) {
        writeFailureHandler_(location());
    }
}

void ProfileStore::reload() {
    flush();
    // Also reads the file again when another writer changed it since.
    settings_->sync();
}

void ProfileStore::setWriteFailureHandler(std::function<void(const QString& location)> handler) {
    writeFailureHandler_ = std::move(handler);
}

QString ProfileStore::location() const {
    return settings_->fileName();
}
