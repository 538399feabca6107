#include "app/pagecontrollers.h"

#include "app/core/appoptions.h"
#include "app/core/windowstate.h"
#include "jobs/tftp/tftppagecontroller.h"
#include "discovery/ui/boxsearchcontroller.h"
#include "app/language/languagemenu.h"
#include "jobs/sequencer/jobsequencer.h"

#include <QMainWindow>

void attachPageControllers(QMainWindow *window, WindowState &state, const AppOptions &options)
{
    Q_UNUSED(window);
    Q_UNUSED(state);
    Q_UNUSED(options);
    new TftpPageController(window, state, options);
    new BoxSearchController(window);
    new LanguageMenuController(window, state);
    new JobSequencer(window, state, options);
}
