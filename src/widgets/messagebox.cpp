#include "widgets/messagebox.h"

#include "app/core/windowstate.h"

#include <QMessageBox>

QString messageTitle()
{
    return QStringLiteral("Boxwart");
}

void showMessage(QWidget *parent, const QString &text, std::function<void()> then)
{
    auto *box = new QMessageBox(QMessageBox::NoIcon, messageTitle(), text, QMessageBox::Ok, parent);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setWindowModality(parent ? Qt::WindowModal : Qt::ApplicationModal);
    QObject::connect(box, &QMessageBox::finished, box, [then = std::move(then)](int) {
        if (then)
            then();
    });
    box->open();
}

void showError(QWidget *parent, const MessageTexts &texts, int code, std::function<void()> then)
{
    showMessage(parent, texts.error(code), std::move(then));
}

void askYesNo(QWidget *parent, const QString &title, const QString &text, std::function<void(bool)> answer)
{
    auto *box = new QMessageBox(QMessageBox::Question, title, text, QMessageBox::Yes | QMessageBox::No, parent);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setWindowModality(parent ? Qt::WindowModal : Qt::ApplicationModal);
    QObject::connect(box, &QMessageBox::finished, box, [box, answer = std::move(answer)](int) {
        answer(box->clickedButton() == box->button(QMessageBox::Yes));
    });
    box->open();
}

YesNoQuestion::YesNoQuestion(QWidget *parent, QString title, QString text)
    : m_parent(parent)
    , m_title(std::move(title))
    , m_text(std::move(text))
{
}

void YesNoQuestion::await_suspend(std::coroutine_handle<> waiting)
{
    askYesNo(m_parent, m_title, m_text, [this, waiting](bool yes) {
        m_yes = yes;
        waiting.resume();
    });
}

MessageClosed::MessageClosed(QWidget *parent, QString text)
    : m_parent(parent)
    , m_text(std::move(text))
{
}

void MessageClosed::await_suspend(std::coroutine_handle<> waiting)
{
    showMessage(m_parent, m_text, [waiting] { waiting.resume(); });
}
