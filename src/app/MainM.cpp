#include "app/MainM.h"

#include "controls/Fonts.h"
#include "io/SaveINIM.h"

#include <QDir>

std::unique_ptr<frmForma> MainM(ProgramState &state, Messenger &messenger, const QString &workFolder)
{
    Fonts::InstallSubstitutes();
    state.settings.MaxHod = Settings::kDefaultMaxHod;

    auto window = std::make_unique<frmForma>(state, messenger, workFolder);
    window->ClearPole();
    window->BiletClear();

    state.settings = SettingsFile::Read(QDir(workFolder).filePath(SettingsFile::FileName));
    window->ApplySettings();
    return window;
}
