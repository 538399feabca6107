#include "jobs/tftp/tftppagecontroller.h"

#include "app/core/appoptions.h"
#include "app/core/settingsstore.h"
#include "app/core/windowstate.h"
#include "net/tftp/bindfailure.h"
#include "widgets/controls.h"
#include "widgets/filenameedit.h"
#include "widgets/messagebox.h"

#include <QCoreApplication>
#include <QLabel>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>

TftpPageController::TftpPageController(QWidget *window, WindowState &state, const AppOptions &options)
    : QObject(window), m_window(window), m_state(state), m_tdf1(new TftpServer(window))
{
    setObjectName(QStringLiteral("TftpPageController"));
    m_tdf1->setObjectName(QStringLiteral("tdf1"));
    m_tdf1->setDefaultPort(options.ports.tftp);

    connect(control<QPushButton>(window, QStringLiteral("RzButton7")), &QPushButton::clicked, this,
            &TftpPageController::RzButton7Click);
    connect(control<FileNameEdit>(window, QStringLiteral("LMDFileOpenEdit2")), &FileNameEdit::afterExit, this,
            &TftpPageController::LMDFileOpenEdit2AfterExit);
    // The file-request step fills in the request before the server goes on,
    // so it must run right away on this thread.
    connect(m_tdf1, &TftpServer::readFile, this, &TftpPageController::tdf1ReadFile, Qt::DirectConnection);
    connect(m_tdf1, &TftpServer::transferComplete, this, &TftpPageController::tdf1TransferComplete);
}

void TftpPageController::setBlinking(bool blinking)
{
    control<QLabel>(m_window, QStringLiteral("RzLabel8"))->setProperty("blinking", blinking);
}

void TftpPageController::RzButton7Click()
{
    setBlinking(false);
    const QString image = control<FileNameEdit>(m_window, QStringLiteral("LMDFileOpenEdit2"))->fileName();
    SettingsStore::write(SettingsStore::Image2, image);
    if (image.isEmpty() || m_tdf1->isActive())
        return;
    if (!m_tdf1->activate())
        showMessage(m_window, Tftp::bindFailureMessage(m_tdf1->defaultPort(), m_tdf1->bindError(), m_tdf1->errorString(),
                                                       QCoreApplication::applicationFilePath()));
}

void TftpPageController::LMDFileOpenEdit2AfterExit()
{
    if (control<FileNameEdit>(m_window, QStringLiteral("LMDFileOpenEdit2"))->fileName().isEmpty())
        showMessage(m_window, m_state.messages.MsgNoTftpImage);
}

void TftpPageController::tdf1ReadFile(Tftp::ReadFileRequest &request)
{
    request.fileName = control<FileNameEdit>(m_window, QStringLiteral("LMDFileOpenEdit2"))->fileName();
}

void TftpPageController::tdf1TransferComplete(bool success, const Tftp::Peer &)
{
    if (success) {
        control<QProgressBar>(m_window, QStringLiteral("RzProgressBar1"))->setValue(100);
        setBlinking(true);
        return;
    }
    // The instruction blinks again once the error has been read.
    showError(m_window, m_state.messages, 5, [self = QPointer(this)] {
        if (self)
            self->setBlinking(true);
    });
}
