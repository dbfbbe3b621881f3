#include "ScriptedPanelTest.h"

#include "ScriptCommands.h"

#include <QtTest>

QString ScriptedPanelTest::simField(const QString& key) {
    const QString prefix = QStringLiteral("unit0.") + key + QLatin1Char('=');
    for (const QString& line : status().split(QLatin1Char('\n'))) {
        if (line.startsWith(prefix)) {
            return line.mid(prefix.size());
        }
    }
    return QStringLiteral("<none>");
}

bool ScriptedPanelTest::screenIsCurrent() {
    const QImage before = surface().copy();
    dialog().router().PaintScreen();
    return surface() == before;
}

void ServedPanelTest::settle() {
    ScriptedPanelTest::settle();
    server_ = std::make_unique<ScriptSocketServer>(commands());
    QVERIFY(server_->Listen(address()));
}

void ServedPanelTest::stopServing() {
    server_.reset();
}
