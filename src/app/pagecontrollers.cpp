#include "app/pagecontrollers.h"

#include "app/core/appoptions.h"
#include "app/core/windowstate.h"
#include "jobs/tftp/tftppagecontroller.h"
#include "discovery/ui/boxsearchcontroller.h"
#include "app/language/languagemenu.h"
#include "jobs/sequencer/jobsequencer.h"
#include "jobs/transfer/transferprogressbinding.h"
#include "jobs/partitions/partitionlistcontroller.h"
#include "jobs/flash/flashcontroller.h"
#include "jobs/backup/backupcontroller.h"

#include <QMainWindow>

void attachPageControllers(QMainWindow *window, WindowState &state, const AppOptions &options)
{
    Q_UNUSED(window);
    Q_UNUSED(state);
    Q_UNUSED(options);
    attachBoxFileTransfer(window);  // IdFTP1 first: later controllers use it
    new TftpPageController(window, state, options);
    new BoxSearchController(window);
    new LanguageMenuController(window, state);
    new JobSequencer(window, state, options);
    new PartitionListController(window, state, options);  // after JobSequencer
    new FlashController(window, state, options);
    new BackupController(window, state, options);  // hands JobSequencer its backupit
}
