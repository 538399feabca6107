#include "app/pagecontrollers.h"

#include "app/core/appoptions.h"
#include "app/core/windowstate.h"

#include <QMainWindow>

void attachPageControllers(QMainWindow *window, WindowState &state, const AppOptions &options)
{
    Q_UNUSED(window);
    Q_UNUSED(state);
    Q_UNUSED(options);
}
