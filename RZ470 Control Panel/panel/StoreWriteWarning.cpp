#include "StoreWriteWarning.h"

#include "ProfileStore.h"
#include "Prompts.h"

#include <QTimer>

namespace {

const QString kSettingsNotSavedText = QStringLiteral(
    "The panel's settings could not be saved to %1. The panel goes on with the values set in this "
    "session, but they will be lost when it closes.");
const QString kSettingsNotSavedTitle = QStringLiteral("Settings Not Saved");

}  // namespace

StoreWriteWarning::StoreWriteWarning(ProfileStore& profile, Prompts& prompts, QObject& context)
    : profile_(profile) {
    profile_.setWriteFailureHandler([&prompts, &context](const QString& location) {
        QTimer::singleShot(0, &context, [&prompts, location] {
            prompts.message(kSettingsNotSavedText.arg(location), kSettingsNotSavedTitle, Prompts::Buttons::Ok,
                            Prompts::Icon::Warning);
        });
    });
}

StoreWriteWarning::~StoreWriteWarning() {
    profile_.setWriteFailureHandler({});
}
