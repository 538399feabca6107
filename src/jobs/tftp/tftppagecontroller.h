#pragma once

#include "net/tftp/tftpserver.h"

#include <QObject>

class QWidget;
struct AppOptions;
struct WindowState;

// Page "TFTP upload": the boot manager of the box fetches the image chosen
// in LMDFileOpenEdit2 from the server tdf1, which "o.k." switches on.
// Child "TftpPageController" of the main window; the server is the
// window's child "tdf1".
class TftpPageController : public QObject {
    Q_OBJECT
public:
    TftpPageController(QWidget *window, WindowState &state, const AppOptions &options);

    void RzButton7Click();
    void LMDFileOpenEdit2AfterExit();
    void tdf1ReadFile(Tftp::ReadFileRequest &request);
    void tdf1TransferComplete(bool success, const Tftp::Peer &peer);

private:
    void setBlinking(bool blinking);

    QWidget *m_window;
    WindowState &m_state;
    TftpServer *m_tdf1;
};
