#pragma once

#include <QObject>

class QMainWindow;
struct WindowState;

// The handlers of the "Sprache" menu: each item names its language and
// loads it.
class LanguageMenuController : public QObject {
    Q_OBJECT
public:
    LanguageMenuController(QMainWindow *window, WindowState &state);

    void Deutsch1Click();
    void English1Click();
    void Russian1Click();
    void Netherland1Click();
    void Italian1Click();
    void Greek1Click();

private:
    void load(const QString &languageName);

    QMainWindow *m_window;
    WindowState &m_state;
};
