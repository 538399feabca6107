#include "app/core/appoptions.h"
#include "app/mainwindow.h"

#include <QApplication>
#include <cstdio>

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

    TForm1 window(parsed.options);
    window.show();
    return QApplication::exec();
}
