#pragma once

#include "app/core/appoptions.h"
#include "app/core/windowstate.h"

#include <QMainWindow>
#include <QTimer>
#include <memory>

namespace Ui {
class TForm1;
}

// The program's one window: seven pages, the shortcut bar on the right, the
// main menu and the status bar. Page controllers attach themselves to it and
// find its controls by their form names.
class TForm1 : public QMainWindow {
    Q_OBJECT
public:
    explicit TForm1(const AppOptions &options = {}, QWidget *parent = nullptr);
    ~TForm1() override;

    WindowState &state() { return m_state; }
    const AppOptions &options() const { return m_options; }

    // The window's outer size at start and the smallest it can get.
    static constexpr QSize designSize{735, 538};

protected:
    void resizeEvent(QResizeEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    bool event(QEvent *event) override;

private:
    void applyStyle();
    void setUpControls();
    void setUpStatusBar();
    void setUpGroupBar();
    void FormCreate();
    void chooseStoredLanguage();
    void FormResize();
    void RzPageControl1Change();
    void RzButton3Click();
    void ListBox2ContextMenu(const QPoint &position);
    void showPage(int index);

    std::unique_ptr<Ui::TForm1> ui;
    WindowState m_state;
    AppOptions m_options;
    QTimer m_clock;
    bool m_placed = false;
};
