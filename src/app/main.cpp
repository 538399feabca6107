#include "app/core/appoptions.h"
#include "app/demo/demobox.h"
#include "app/mainwindow.h"
#include "widgets/messagebox.h"

#include <QApplication>
#include <cstdio>
#include <memory>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("boxwart"));
    QApplication::setApplicationDisplayName(QStringLiteral("Boxwart"));
    QApplication::setApplicationVersion(QStringLiteral("0.9"));

    const AppOptionsResult parsed = parseAppOptions(QApplication::arguments());
    if (!parsed.error.isEmpty()) {
        std::fprintf(stderr, "boxwart: %s\n", qPrintable(parsed.error));
        return 2;
    }

    AppOptions options = parsed.options;
    DemoBox demoBox; // outlives the window; ends the simulated box at exit
    std::unique_ptr<TForm1> window;
    const auto showWindow = [&] {
        window = std::make_unique<TForm1>(options);
        window->show();
    };
    if (options.demo) {
        // The window opens once the simulated box listens.
        QObject::connect(&demoBox, &DemoBox::ready, &app, [&] {
            demoBox.applyTo(options);
            showWindow();
        });
        QObject::connect(&demoBox, &DemoBox::failed, &app, [](const QString &reason) {
            std::fprintf(stderr, "boxwart: %s\n", qPrintable(reason));
            QApplication::setQuitOnLastWindowClosed(false);
            showMessage(nullptr, reason, [] { QCoreApplication::exit(1); });
        });
        demoBox.start();
    } else {
        showWindow();
    }
    return QApplication::exec();
}
