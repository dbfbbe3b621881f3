#include "ScriptingWiring.h"

#include "DemoLoopWindow.h"
#include "MaintenanceTexts.h"
#include "ScreenRouter.h"
#include "ScriptCommands.h"
#include "UnitSession.h"
#include "WindowMenu.h"

void WireScripting(ScriptCommands& commands, ScreenRouter& router, DemoLoopWindow& demoLoop,
                   UnitSession& session, WindowMenu& windowMenu) {
    commands.SetDemoLoopQuery([&demoLoop] { return demoLoop.IsRunning(); });
    commands.SetErrorSource([&session] { return maintenancetexts::ErrorLines(session.unit()); });
    commands.SetSerialSource([&session] { return maintenancetexts::SerialText(session.unit()); });
    QObject::connect(&commands, &ScriptCommands::StateChanged, &router, &ScreenRouter::DetectChanges);
    QObject::connect(&commands, &ScriptCommands::ScriptSwitched, &router,
                     [&router](int channel, bool on) { router.ShownRedraws().DrawSwitch(channel - 1, on); });
    QObject::connect(&commands, &ScriptCommands::TablesChanged, &router,
                     [&router] { router.ShownRedraws().ShowTablesChanged(); });
    windowMenu.SetScriptingSwitch([&commands] { return commands.scriptingAllowed(); },
                                  [&commands](bool allowed) { commands.SetScriptingAllowed(allowed); });
}
