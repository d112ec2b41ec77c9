#include "tools/ShellLib.h"

#include <memory>

#include "components/controls/kitstarter.h"
#include "foundation/DebugLib.h"
#include "platform/rtl/SysUtils.h"

void ShellOpen(const std::string& Target) {
    const auto starter = std::make_unique<kit::TKitStarter>(nullptr);
    starter->SetCommand(Target);
    starter->Start();
}

void ShellOpenFile(const std::string& Path) {
    if (rtl::FileExists(Path)) ShellOpen(Path);
    else msgError("Die Datei " + Path + " konnte nicht gefunden werden!");
}
