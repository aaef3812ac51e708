#include "app/MainM.h"

#include "controls/Contrast.h"
#include "controls/Fonts.h"
#include "io/SaveINIM.h"

#include <QDir>

std::unique_ptr<frmForma> MainM(ProgramState &state, Messenger &messenger, const QString &workFolder)
{
    Fonts::InstallSubstitutes();
    // A desktop whose own colours hardly read (grey on grey) gets black or white text.
    Contrast::MakeDesktopReadable();
    state.settings.MaxHod = Settings::kDefaultMaxHod;

    auto window = std::make_unique<frmForma>(state, messenger, workFolder);
    window->ClearPole();
    window->BiletClear();

    state.settings = SettingsFile::Read(QDir(workFolder).filePath(SettingsFile::FileName));
    window->ApplySettings();
    return window;
}
