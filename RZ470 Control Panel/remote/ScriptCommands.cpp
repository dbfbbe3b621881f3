#include "ScriptCommands.h"

#include "ActionResult.h"
#include "PanelSettings.h"
#include "UnitSession.h"

#include <QTimer>

ScriptCommands::ScriptCommands(UnitSession& session, PanelSettings& settings, QObject* parent)
    : QObject(parent), session_(session), settings_(settings) {}

ScriptCommands::~ScriptCommands() = default;

QJsonObject ScriptCommands::Status() const {
    return {};
}
ScriptReply ScriptCommands::Channel(int) const {
    return ScriptReply::Error(scripterrors::kUsage, {});
}
QJsonObject ScriptCommands::Grouping() const {
    return {};
}
QJsonObject ScriptCommands::Trigger() const {
    return {};
}
QStringList ScriptCommands::Favourites() const {
    return {};
}
QStringList ScriptCommands::Errors() const {
    return {};
}
ScriptReply ScriptCommands::Switch(const QList<int>&, bool) {
    return {};
}
ScriptReply ScriptCommands::SetLevel(const QList<int>&, double) {
    return {};
}
ScriptReply ScriptCommands::AllOff() {
    return {};
}
ScriptReply ScriptCommands::Rename(int, const QString&) {
    return {};
}
ScriptReply ScriptCommands::SetGroupingMode(int) {
    return {};
}
ScriptReply ScriptCommands::SetGroup(int, int) {
    return {};
}
ScriptReply ScriptCommands::LoadFavourite(const QString&) {
    return {};
}
ScriptReply ScriptCommands::SetTimeout(int, int) {
    return {};
}
ScriptReply ScriptCommands::SetSequence(int, int) {
    return {};
}
bool ScriptCommands::scriptingAllowed() const {
    return true;
}
void ScriptCommands::SetScriptingAllowed(bool) {}
void ScriptCommands::SetDemoLoopRunning(bool running) {
    demoLoop_ = running;
}
void ScriptCommands::PanelActed() {}
void ScriptCommands::PanelAskedSwitch(int, bool) {}
bool ScriptCommands::idle() const {
    return true;
}
bool ScriptCommands::RunWhenIdle(std::function<void()> job) {
    job();
    return true;
}
