#pragma once

#include <QString>
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
