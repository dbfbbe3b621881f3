#pragma once

#include <QImage>
#include <QString>
#include <QStringList>

namespace artwork {

// Every picture of the table with its id, size and role, for review at a glance.
QImage contactSheet();

// Rough compositions of the panel's screens from the pictures, with sample texts written where
// the panel writes its captions and values: a check that the pieces fit together. The panel
// fonts must be registered first.
QStringList mockScreenNames();
QImage mockScreen(const QString& name);

}  // namespace artwork
