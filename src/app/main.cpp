// The executable: wires the start-up to the schema passes, the self-update and the main window.
#include "app/ReplayState.h"
#include "core/AboutBox.h"
#include "core/CrashNote.h"
#include "core/ErrorText.h"
#include "core/Globals.h"
#include "core/Startup.h"
#include "core/schema/SchemaCheck.h"
#include "core/update/SelfUpdate.h"
#include "platform/ui/Application.h"
#include "shell/MDIForm1.h"
#include "shell/OnlineUpdate.h"
#include "shell/UserManual.h"

int main(int argc, char** argv)
{
    ui::Application app(argc, argv);  // no exception leaves an event handler
    QApplication::setApplicationName(QStringLiteral("Tessarine"));
    InstallCrashNote();  // a fatal signal leaves a note in the program folder
    InstallReplayState(&app);
    UseLanguage(0);  // Qt's own texts in Traditional until the language setting is read
    // The message already says that something unexpected happened; a general text adds nothing.
    ui::SetErrorDescriber([](const std::exception& e) {
        const QString text = ErrorText(e);
        return text == LoadResString(2417) ? QString() : text;
    });

    StartupEnv env;
    env.arguments = QCoreApplication::arguments().mid(1);

    StartupHooks hooks;
    hooks.checkFileVer = [] { checkfilever(SetSplashMessage); };
    hooks.checkFactoryTables = [] { CheckFactoryTables(SetSplashMessage); };
    hooks.checkMemberTable = [] { CheckMemberTable(SetSplashMessage); };
    hooks.loadMainWindow = [] {
        InstallUserManual(gProgramPath);  // the manual ships inside the program
        return static_cast<QWidget*>(new MDIForm1(gCommandLine));
    };
    hooks.finishSelfUpdate = [&env] { return update::FinishSelfUpdateHook(env.arguments); };
    hooks.installNewVersion = [&env] { return update::InstallNewVersionHook(env.arguments); };
    hooks.checkVersionReminder = [] { update::CheckVersionReminder(); };

    if (!SubMain(env, hooks))
        return 0;
    return app.exec();
}
