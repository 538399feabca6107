#include "widgets/filenameedit.h"

#include <QApplication>
#include <QEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QFocusEvent>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QTimer>
#include <QToolButton>

FileNameEdit::FileNameEdit(QWidget *parent)
    : QWidget(parent)
    , m_edit(new QLineEdit(this))
    , m_browse(new QToolButton(this))
{
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    layout->addWidget(m_edit, 1);
    layout->addWidget(m_browse);
    m_browse->setText(QStringLiteral("..."));
    m_browse->setAccessibleName(tr("Browse for a file"));
    setFocusProxy(m_edit);
    m_edit->installEventFilter(this);
    m_browse->installEventFilter(this);
    connect(m_browse, &QToolButton::clicked, this, &FileNameEdit::browse);
    connect(m_edit, &QLineEdit::textChanged, this, &FileNameEdit::fileNameChanged);
}

QString FileNameEdit::fileName() const
{
    return m_edit->text();
}

void FileNameEdit::setFileName(const QString &fileName)
{
    m_edit->setText(fileName);
}

void FileNameEdit::setFilter(const QString &filter)
{
    m_filter = filter;
}

bool FileNameEdit::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::FocusOut) {
        // Another window taking the activation (a dialog, another program, a
        // context menu) leaves the field's focus where it was.
        const Qt::FocusReason reason = static_cast<QFocusEvent *>(event)->reason();
        if (reason == Qt::ActiveWindowFocusReason || reason == Qt::PopupFocusReason)
            return QWidget::eventFilter(watched, event);
        // The focus may only be moving between the text and the button; decide
        // once it has arrived wherever it goes, and only once for several
        // focus changes that happen before then.
        if (!m_exitCheckPending) {
            m_exitCheckPending = true;
            QTimer::singleShot(0, this, [this] {
                m_exitCheckPending = false;
                if (!focusInside())
                    Q_EMIT afterExit();
            });
        }
    }
    return QWidget::eventFilter(watched, event);
}

bool FileNameEdit::focusInside() const
{
    const QWidget *focus = QApplication::focusWidget();
    return focus == m_edit || focus == m_browse;
}

void FileNameEdit::browse()
{
    // "Name (*.a)|*.a|Other (*.b)|*.b" becomes Qt's "Name (*.a);;Other (*.b)".
    const QStringList parts = m_filter.split(QLatin1Char('|'));
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2)
        filters << parts.at(i);
    auto *dialog = new QFileDialog(this, QString(), QFileInfo(fileName()).absolutePath());
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->setFileMode(QFileDialog::ExistingFile);
    dialog->setNameFilters(filters);
    connect(dialog, &QFileDialog::fileSelected, this, &FileNameEdit::setFileName);
    dialog->open();
}
