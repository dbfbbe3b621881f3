#include "ProductVersion.h"

#include "PanelVersion.h"

QString ReadProductVersion(const QString& key) {
    if (key == QLatin1String("ProductVersion")) {
        return QStringLiteral(RZ470_PRODUCT_VERSION);
    }
    return {};
}
