#pragma once

#include <QString>
#include <coroutine>
#include <functional>

class QWidget;
struct MessageTexts;

// Every message of the program's own: a modal box titled "Boxwart" with an
// OK button. The box is opened without a nested event loop; `then` runs once
// the user has closed it.
void showMessage(QWidget *parent, const QString &text, std::function<void()> then = {});

// An error is the loaded language's error prefix followed directly by its code.
void showError(QWidget *parent, const MessageTexts &texts, int code, std::function<void()> then = {});

// A question with Yes and No; `answer` gets true for Yes.
void askYesNo(QWidget *parent, const QString &title, const QString &text, std::function<void(bool)> answer);

// The title every message box of the program carries.
QString messageTitle();

// showMessage for coroutines: `co_await MessageClosed(parent, text);` resumes
// once the user has closed the box.
class MessageClosed {
public:
    MessageClosed(QWidget *parent, QString text);

    bool await_ready() const noexcept { return false; }
    void await_suspend(std::coroutine_handle<> waiting);
    void await_resume() const noexcept {}

private:
    QWidget *m_parent;
    QString m_text;
};

// askYesNo for coroutines: `const bool yes = co_await YesNoQuestion(parent, title, text);`
// The box is opened when the coroutine suspends; it resumes once the user
// has answered (true for Yes).
class YesNoQuestion {
public:
    YesNoQuestion(QWidget *parent, QString title, QString text);

    bool await_ready() const noexcept { return false; }
    void await_suspend(std::coroutine_handle<> waiting);
    bool await_resume() const noexcept { return m_yes; }

private:
    QWidget *m_parent;
    QString m_title;
    QString m_text;
    bool m_yes = false;
};
