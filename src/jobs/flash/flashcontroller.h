#pragma once

#include <QCoroTask>
#include <QObject>

class QWidget;
struct AppOptions;
struct WindowState;

// "Flash Image" (RzButton1): uploads the flash writer and the chosen image to
// the box's "/var/tmp" and starts job "1", which writes the image into the
// chosen partition and restarts the box.
//
// Child "FlashController" of the main window.
class FlashController : public QObject {
    Q_OBJECT
public:
    FlashController(QWidget *window, WindowState &state, const AppOptions &options);

    QCoro::Task<> RzButton1Click();

private:
    QString partitionToFlash() const;
    void endStart();

    QWidget *m_window;
    WindowState &m_state;
    const AppOptions &m_options;
};
