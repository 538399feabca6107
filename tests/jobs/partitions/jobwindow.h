#pragma once

#include "app/core/appoptions.h"
#include "support/messageboxes.h"
#include "support/simbox.h"

#include <QMessageBox>
#include <QString>
#include <memory>

class TForm1;
class QWidget;

// The real main window wired to a simulated box, for the telnet jobs' tests:
// the box's address, user and password are typed into page "Setup/MAC" and
// the message texts are fixed, so a test can compare what it is shown.
class JobWindow {
public:
    JobWindow();
    ~JobWindow();

    // Starts the box and opens the window on its ports; false on failure
    // (errorString() says why).
    bool open(const SimBoxOptions &boxOptions = {});
    QString errorString() const;

    SimBox &box() { return m_box; }
    TForm1 &window() { return *m_window; }
    QWidget *widget(const QString &name) const;
    template<typename T>
    T *find(const QString &name) const
    {
        return qobject_cast<T *>(widget(name));
    }

    // A left click in the middle of the named control.
    void click(const QString &name) const;
    // The name of the page RzPageControl1 shows.
    QString currentPage() const;

    static const QString ErrorPrefix;
    static const QString SavedHead;
    static const QString SavedMid;

private:
    SimBox m_box;
    std::unique_ptr<TForm1> m_window;
    QString m_error;
};

// Closes a shown message box with one of its buttons, as the user would.
void answer(QMessageBox *box, QMessageBox::StandardButton button);
