#pragma once

#include "jobs/transfer/progressmodel.h"

#include <QObject>
#include <QPointer>

class BoxFtp;
class QMainWindow;
class QProgressBar;

// Drives a progress bar (range 0..100) from a box-file client's work events.
class TransferProgressBinding : public QObject {
    Q_OBJECT
public:
    TransferProgressBinding(BoxFtp *client, QProgressBar *bar, QObject *parent = nullptr);

    const ProgressModel &model() const { return m_model; }

private:
    void show();

    ProgressModel m_model;
    QPointer<QProgressBar> m_bar;
};

// Creates the window's box-file client `IdFTP1` and binds it to the status
// bar's `RzProgressBar1`.
BoxFtp *attachBoxFileTransfer(QMainWindow *window);
