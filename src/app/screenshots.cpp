// Draws every page of the main window offscreen into PNG files, once per
// language given, so that the layout and the translated texts can be looked
// at without a display:
//   boxwart-screenshots <folder> [german|english|russian|dutch|italian|greek ...]
#include "app/mainwindow.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QHash>
#include <QTabWidget>
#include <QTimer>
#include <cstdio>

namespace {

const QHash<QString, QString> languageActions{
    {QStringLiteral("german"), QStringLiteral("Deutsch1")},  {QStringLiteral("english"), QStringLiteral("English1")},
    {QStringLiteral("russian"), QStringLiteral("Russian1")}, {QStringLiteral("dutch"), QStringLiteral("Netherland1")},
    {QStringLiteral("italian"), QStringLiteral("Italian1")}, {QStringLiteral("greek"), QStringLiteral("Greek1")}};

bool grabPages(TForm1 &window, const QString &folder, const QString &languageKey)
{
    auto *pages = window.findChild<QTabWidget *>(QStringLiteral("RzPageControl1"));
    for (int index = 0; index < pages->count(); ++index) {
        pages->setCurrentIndex(index);
        const QString file = QDir(folder).filePath(
            QStringLiteral("%1-%2-%3.png").arg(languageKey).arg(index).arg(pages->widget(index)->objectName()));
        if (!window.grab().save(file)) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(file));
            return false;
        }
        std::printf("%s\n", qPrintable(file));
    }
    return true;
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("boxwart"));
    QStringList arguments = QApplication::arguments().mid(1);
    if (arguments.isEmpty()) {
        std::fprintf(stderr, "usage: boxwart-screenshots <folder> [language ...]\n");
        return 2;
    }
    const QString folder = arguments.takeFirst();
    if (arguments.isEmpty())
        arguments.append(QStringLiteral("german"));
    for (const QString &key : std::as_const(arguments)) {
        if (!languageActions.contains(key)) {
            std::fprintf(stderr, "unknown language %s\n", qPrintable(key));
            return 2;
        }
    }
    QDir().mkpath(folder);

    TForm1 window;
    window.show();
    int result = 0;
    // Each language is switched and drawn once the window has settled.
    QTimer::singleShot(200, &window, [&] {
        for (const QString &key : std::as_const(arguments)) {
            window.findChild<QAction *>(languageActions.value(key))->trigger();
            if (!grabPages(window, folder, key))
                result = 1;
        }
        QApplication::quit();
    });
    QApplication::exec();
    return result;
}
