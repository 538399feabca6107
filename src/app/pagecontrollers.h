#pragma once

class QMainWindow;
struct WindowState;
struct AppOptions;

// Creates the controllers that carry the pages' handlers. Each one finds its
// controls by their form names and lives as a child of the window.
void attachPageControllers(QMainWindow *window, WindowState &state, const AppOptions &options);
