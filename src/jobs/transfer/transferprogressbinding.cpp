#include "jobs/transfer/transferprogressbinding.h"

#include "jobs/transfer/boxftp.h"
#include "widgets/controls.h"

#include <QMainWindow>
#include <QProgressBar>

TransferProgressBinding::TransferProgressBinding(BoxFtp *client, QProgressBar *bar, QObject *parent)
    : QObject(parent), m_bar(bar)
{
    m_bar->setRange(0, 100);
    connect(client, &BoxFtp::workBegin, this, [this](qint64 max) {
        m_model.workBegin(max);
        show();
    });
    connect(client, &BoxFtp::work, this, [this](qint64 count) {
        m_model.work(count);
        show();
    });
}

void TransferProgressBinding::show()
{
    if (m_bar)
        m_bar->setValue(m_model.percent());
}

BoxFtp *attachBoxFileTransfer(QMainWindow *window)
{
    auto *client = new BoxFtp(window);
    client->setObjectName(QStringLiteral("IdFTP1"));
    new TransferProgressBinding(client, control<QProgressBar>(window, QStringLiteral("RzProgressBar1")), client);
    return client;
}
